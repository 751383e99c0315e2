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

struct HttpsCase {
    const char* name;
    std::wstring url;
    HV_Result expected;
};

TEST(Tls, FetchesOverHttps) {
    const TlsPorts ports = ReadPorts();
    const HttpsCase cases[] = {
        {"trusted server", Url(ports.trusted, L"/manifest.json"), HV_Ok},
        {"missing file", Url(ports.trusted, L"/missing.json"), HV_HttpStatus},
        {"untrusted certificate", Url(ports.untrusted, L"/manifest.json"), HV_NetworkFailure},
    };
    const std::string manifest = ReadWholeFile(StatePath("www/manifest.json"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> buffer(4096, 'Z');
        int32_t length = -1;
        ASSERT_EQ(HV_EXPORT(HV_FetchManifest)(c.url.c_str(), buffer.data(),
                                              static_cast<int32_t>(buffer.size()), &length),
                  c.expected);
        if (c.expected == HV_Ok) {
            EXPECT_EQ(std::string(buffer.data(), length), manifest);
            EXPECT_EQ(buffer[length], '\0');
        } else {
            EXPECT_EQ(length, -1);
            EXPECT_EQ(buffer[0], 'Z');
        }
    }
}

TEST(Tls, DownloadsOverHttps) {
    const TlsPorts ports = ReadPorts();
    const std::string package = ReadWholeFile(StatePath("www/package.bin"));
    ASSERT_FALSE(package.empty());
    const HttpsCase cases[] = {
        {"trusted server", Url(ports.trusted, L"/package.bin"), HV_Ok},
        {"untrusted certificate", Url(ports.untrusted, L"/package.bin"), HV_NetworkFailure},
    };
    TempFolder folder;
    const std::wstring path = folder.Path(L"package.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(path, "old");
        ASSERT_EQ(HV_EXPORT(HV_DownloadVerify)(c.url.c_str(), path.c_str(),
                                               Sha256Hex(package).c_str(), 0, nullptr, nullptr,
                                               nullptr),
                  c.expected);
        EXPECT_EQ(ReadWholeFile(path), c.expected == HV_Ok ? package : "old");
    }
}

} // namespace
