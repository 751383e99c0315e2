#include "elevated_install.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace hovrel::road;

// What the elevated run parses is what the unelevated one knew, through
// Windows' own splitting of the command line.
TEST(ElevatedInstall, ParsesBackThroughCommandLineToArgv) {
    Options options;
    options.manifestUrl = L"https://h/app.json?a=1&b=\"2\"";
    options.publicKeys = {L"C:\\keys dir\\", L"QUJD"};
    options.product = L"App \\\"Pro\\\"";
    options.installerArgs = L"/S /D=\"C:\\Program Files\\App\\\"";
    options.publishers = {L"Example \"Ltd\"", L"-dash"};
    options.publisherThumbprint = std::string(64, 'b');
    options.allowUnsigned = true;
    options.fetchTimeoutSeconds = 7;
    options.retries = 0;
    options.minRate = 1;
    options.minRateWindowSeconds = 2;
    options.requireExpiry = true;
    options.installedVersion = L"1.2 beta";
    options.signatureUrl = L"https://h/app sig?x=\"1\"";
    const std::wstring package = L"C:\\Users\\a b\\Temp\\hovrel-1\\App Setup.exe";
    const std::wstring line =
        L"\"C:\\x\\hovrel-update.exe\" " + ElevatedInstallArguments(options, package);
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(words, nullptr);
    const std::vector<std::wstring> arguments(words + 1, words + count);
    LocalFree(words);
    const auto parsed = ParseCommandLine(arguments);
    ASSERT_TRUE(parsed) << parsed.reason();
    const Options& back = parsed.value();
    EXPECT_EQ(back.command, Command::Install);
    EXPECT_EQ(back.manifestUrl, options.manifestUrl);
    EXPECT_EQ(back.outPath, package);
    EXPECT_TRUE(back.yes);
    EXPECT_EQ(back.publicKeys, options.publicKeys);
    EXPECT_EQ(back.product, options.product);
    EXPECT_EQ(back.installerArgs, options.installerArgs);
    EXPECT_EQ(back.publishers, options.publishers);
    EXPECT_EQ(back.publisherThumbprint, options.publisherThumbprint);
    EXPECT_TRUE(back.allowUnsigned);
    EXPECT_EQ(back.fetchTimeoutSeconds, 7u);
    EXPECT_EQ(back.retries, 0u);
    EXPECT_EQ(back.minRate, 1u);
    EXPECT_EQ(back.minRateWindowSeconds, 2u);
    EXPECT_TRUE(back.requireExpiry);
    EXPECT_EQ(back.installedVersion, options.installedVersion);
    EXPECT_EQ(back.signatureUrl, options.signatureUrl);
    EXPECT_FALSE(back.elevate);
    EXPECT_EQ(back.waitPid, 0u);
}

} // namespace
