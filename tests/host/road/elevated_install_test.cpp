#include "elevated_install.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace hovrel::road;

TEST(ElevatedInstall, QuotesAsCommandLineToArgvReadsBack) {
    const struct {
        std::wstring argument;
        std::wstring quoted;
    } cases[] = {
        {L"plain", L"plain"},
        {L"C:\\a\\b.exe", L"C:\\a\\b.exe"},
        {L"", L"\"\""},
        {L"a b", L"\"a b\""},
        {L"tab\there", L"\"tab\there\""},
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"C:\\a b\\", L"\"C:\\a b\\\\\""},
        {L"x\\\"y", L"\"x\\\\\\\"y\""},
        {L"x\\\\ y", L"\"x\\\\ y\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedArgument(c.argument), c.quoted)
            << std::string(c.argument.begin(), c.argument.end());
    }
}

TEST(ElevatedInstall, RepeatsTheChecksForTheVerifiedPath) {
    Options options;
    options.command = Command::Update;
    options.manifestUrl = L"https://h/app.json";
    options.installedVersion = L"1.0";
    options.outPath = L"relative.exe";
    options.waitPid = 42;
    options.elevate = true;
    EXPECT_EQ(ElevatedInstallArguments(options, L"C:\\Temp\\hovrel-1\\App Setup.exe"),
              L"install --manifest=https://h/app.json \"--out=C:\\Temp\\hovrel-1\\App Setup.exe\" "
              L"--yes --fetch-timeout=60 --retries=3 --min-rate=4096 --min-rate-window=60 "
              L"--installed=1.0");
    options.publicKeys = {L"C:\\k 1.pem", L"QUJD"};
    options.allowUnsigned = true;
    options.fetchTimeoutSeconds = 5;
    options.retries = 0;
    options.minRate = 0;
    options.minRateWindowSeconds = 9;
    options.requireExpiry = true;
    options.installedVersion.clear();
    options.signatureUrl = L"https://h/sig/app.json.sig";
    options.product = L"App";
    options.installerArgs = L"/S /D=\"C:\\Program Files\\App\"";
    options.publishers = {L"Example Ltd"};
    options.language = "pt-BR";
    options.publisherThumbprint = std::string(64, 'a');
    EXPECT_EQ(ElevatedInstallArguments(options, L"C:\\p.exe"),
              L"install --manifest=https://h/app.json --out=C:\\p.exe --yes --fetch-timeout=5 "
              L"--retries=0 --min-rate=0 --min-rate-window=9 \"--public-key=C:\\k 1.pem\" "
              L"--public-key=QUJD --allow-unsigned --require-expiry "
              L"--signature-url=https://h/sig/app.json.sig --product=App "
              L"\"--installer-args=/S /D=\\\"C:\\Program Files\\App\\\"\" "
              L"--language=pt-BR \"--publisher=Example Ltd\" --publisher-thumbprint=" +
                  std::wstring(64, L'a'));
}

// apply's elevated run verifies the same stage again: no package path, and
// neither the wait nor the relaunch, which stay with the unelevated run.
TEST(ElevatedInstall, ApplyHandsOverTheStage) {
    Options options;
    options.command = Command::Apply;
    options.product = L"App";
    options.installedVersion = L"1.0";
    options.waitPid = 42;
    options.relaunchPath = L"C:\\App\\app.exe";
    options.relaunchArgs = L"--updated";
    options.publicKeys = {L"QUJD"};
    EXPECT_EQ(ElevatedInstallArguments(options, L"C:\\Users\\u\\staged\\package.exe"),
              L"apply --yes --fetch-timeout=60 --retries=3 --min-rate=4096 --min-rate-window=60 "
              L"--public-key=QUJD --installed=1.0 --product=App");
}

} // namespace
