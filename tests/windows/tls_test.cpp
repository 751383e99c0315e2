// HTTPS against the TLS servers that the ctest fixture starts: one with a
// certificate from a CA trusted in the build's Wine prefix, one whose CA is
// never trusted.
#include "hovrel_export.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace hovrel::test;

// The fixture's folder as a Windows path (Z: is the Unix root under Wine).
std::wstring StatePath(const std::string& name) {
    const std::string path = std::string("Z:") + HOVREL_TLS_STATE_DIR + "/" + name;
    return std::wstring(path.begin(), path.end());
}

struct TlsPorts {
    std::wstring trusted;
    std::wstring untrusted;
};

TlsPorts ReadPorts() {
    const std::string text = ReadWholeFile(StatePath("ports"));
    const std::size_t split = text.find('\n');
    const std::string first = text.substr(0, split);
    const std::string second = text.substr(split + 1, text.find('\n', split + 1) - split - 1);
    return {std::wstring(first.begin(), first.end()), std::wstring(second.begin(), second.end())};
}

std::wstring Url(const std::wstring& port, const std::wstring& path) {
    return L"https://localhost:" + port + path;
}

TEST(Tls, FetchesAManifestFromATrustedServer) {
    const TlsPorts ports = ReadPorts();
    const std::string expected = ReadWholeFile(StatePath("www/manifest.json"));
    std::vector<char> buffer(4096, 'Z');
    int32_t length = -1;
    const std::wstring url = Url(ports.trusted, L"/manifest.json");
    ASSERT_EQ(HV_EXPORT(HV_FetchManifest)(url.c_str(), buffer.data(),
                                          static_cast<int32_t>(buffer.size()), &length),
              HV_Ok);
    EXPECT_EQ(std::string(buffer.data(), length), expected);
    EXPECT_EQ(buffer[length], '\0');
}

TEST(Tls, DownloadsAndVerifiesFromATrustedServer) {
    const TlsPorts ports = ReadPorts();
    const std::string package = ReadWholeFile(StatePath("www/package.bin"));
    ASSERT_FALSE(package.empty());
    TempFolder folder;
    const std::wstring path = folder.Path(L"package.bin");
    const std::wstring url = Url(ports.trusted, L"/package.bin");
    ASSERT_EQ(HV_EXPORT(HV_DownloadVerify)(url.c_str(), path.c_str(), Sha256Hex(package).c_str(),
                                           package.size(), nullptr, nullptr, nullptr),
              HV_Ok);
    EXPECT_EQ(ReadWholeFile(path), package);
}

TEST(Tls, MissingFileOverHttpsIsAnHttpStatus) {
    const TlsPorts ports = ReadPorts();
    char buffer[64];
    const std::wstring url = Url(ports.trusted, L"/missing.json");
    EXPECT_EQ(HV_EXPORT(HV_FetchManifest)(url.c_str(), buffer, sizeof(buffer), nullptr),
              HV_HttpStatus);
}

TEST(Tls, UntrustedCertificateIsANetworkFailure) {
    const TlsPorts ports = ReadPorts();
    const std::string package = ReadWholeFile(StatePath("www/package.bin"));
    std::vector<char> buffer(4096, 'Z');
    int32_t length = -1;
    const std::wstring manifestUrl = Url(ports.untrusted, L"/manifest.json");
    EXPECT_EQ(HV_EXPORT(HV_FetchManifest)(manifestUrl.c_str(), buffer.data(),
                                          static_cast<int32_t>(buffer.size()), &length),
              HV_NetworkFailure);
    EXPECT_EQ(length, -1);
    EXPECT_EQ(buffer[0], 'Z');

    TempFolder folder;
    const std::wstring path = folder.Path(L"package.bin");
    WriteWholeFile(path, "old");
    const std::wstring packageUrl = Url(ports.untrusted, L"/package.bin");
    EXPECT_EQ(HV_EXPORT(HV_DownloadVerify)(packageUrl.c_str(), path.c_str(),
                                           Sha256Hex(package).c_str(), 0, nullptr, nullptr,
                                           nullptr),
              HV_NetworkFailure);
    EXPECT_EQ(ReadWholeFile(path), "old");
}

} // namespace
