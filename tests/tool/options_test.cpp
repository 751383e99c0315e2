#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hovrel_update::Command;
using hovrel_update::ParseCommandLine;
using hovrel_update::Program;

struct AcceptedCase {
    std::vector<std::wstring> arguments;
    Command command;
    std::wstring manifest;
    std::wstring installed;
    std::wstring out;
    std::wstring installerArgs;
    std::wstring machineId;
    std::uint32_t timeout;
    bool yes;
};

TEST(ParseCommandLine, AcceptsEachCommandWithItsOptions) {
    const AcceptedCase cases[] = {
        {{L"check", L"--manifest", L"http://h/m", L"--installed", L"1.0"},
         Command::Check,
         L"http://h/m",
         L"1.0",
         L"",
         L"",
         L"",
         0,
         false},
        {{L"--manifest=http://h/m", L"--installed=1.0", L"update", L"--yes"},
         Command::Update,
         L"http://h/m",
         L"1.0",
         L"",
         L"",
         L"",
         0,
         true},
        {{L"download", L"--manifest", L"u", L"--out", L"C:\\p.exe", L"--timeout", L"30"},
         Command::Download,
         L"u",
         L"",
         L"C:\\p.exe",
         L"",
         L"",
         30,
         false},
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args", L"/S /D=C:\\x"},
         Command::Install,
         L"u",
         L"",
         L"p.exe",
         L"/S /D=C:\\x",
         L"",
         0,
         false},
        // A value that looks like an option is still the option's value.
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args", L"--quiet"},
         Command::Install,
         L"u",
         L"",
         L"p.exe",
         L"--quiet",
         L"",
         0,
         false},
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args="},
         Command::Install,
         L"u",
         L"",
         L"p.exe",
         L"",
         L"",
         0,
         false},
        {{L"check", L"--manifest", L"u", L"--installed", L"2", L"--machine-id", L"Zo\u00EB"},
         Command::Check,
         L"u",
         L"2",
         L"",
         L"",
         L"Zo\u00EB",
         0,
         false},
        {{L"update", L"--manifest", L"u", L"--installed", L"2", L"--timeout=4294967295"},
         Command::Update,
         L"u",
         L"2",
         L"",
         L"",
         L"",
         4294967295u,
         false},
        {{L"--help"}, Command::Help, L"", L"", L"", L"", L"", 0, false},
        {{L"check", L"--manifest", L"u", L"-h", L"--bogus"},
         Command::Help,
         L"",
         L"",
         L"",
         L"",
         L"",
         0,
         false},
        {{L"/?"}, Command::Help, L"", L"", L"", L"", L"", 0, false},
    };
    for (const AcceptedCase& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? std::wstring() : c.arguments.front());
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.options.command, c.command);
        EXPECT_EQ(parsed.options.manifestUrl, c.manifest);
        EXPECT_EQ(parsed.options.installedVersion, c.installed);
        EXPECT_EQ(parsed.options.outPath, c.out);
        EXPECT_EQ(parsed.options.installerArgs, c.installerArgs);
        EXPECT_EQ(parsed.options.machineId, c.machineId);
        EXPECT_EQ(parsed.options.timeoutSeconds, c.timeout);
        EXPECT_EQ(parsed.options.yes, c.yes);
    }
}

TEST(ParseCommandLine, TakesTheInstallRoadOptions) {
    const std::wstring thumbprint = L"AB:cd:" + std::wstring(60, L'0');
    const auto parsed =
        ParseCommandLine({L"update", L"--manifest", L"u", L"--installed", L"1", L"--keep",
                          L"--elevate", L"--publisher", L"Hovrel Ltd", L"--publisher=Hovrel GmbH",
                          L"--publisher-thumbprint", thumbprint, L"--wait-pid=4294967295"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_TRUE(parsed.options.keep);
    EXPECT_TRUE(parsed.options.elevate);
    EXPECT_EQ(parsed.options.publishers,
              (std::vector<std::wstring>{L"Hovrel Ltd", L"Hovrel GmbH"}));
    EXPECT_EQ(parsed.options.publisherThumbprint, "abcd" + std::string(60, '0'));
    EXPECT_EQ(parsed.options.waitPid, 4294967295u);
    EXPECT_FALSE(
        ParseCommandLine({L"check", L"--manifest", L"u", L"--installed", L"1"}).options.keep);
}

// The window's two options are the window's only: the console refuses them.
TEST(ParseCommandLine, TakesTheWindowOptionsOnlyForTheWindow) {
    const std::vector<std::wstring> arguments = {
        L"update",         L"--manifest", L"u", L"--installed", L"1", L"--quiet-if-current",
        L"--name=Zo\u00EB"};
    const auto window = ParseCommandLine(arguments, Program::Window);
    ASSERT_TRUE(window.ok) << window.error;
    EXPECT_TRUE(window.options.quietIfCurrent);
    EXPECT_EQ(window.options.displayName, L"Zo\u00EB");
    EXPECT_EQ(ParseCommandLine(arguments).error, "unknown option --quiet-if-current");
    EXPECT_EQ(
        ParseCommandLine({L"check", L"--manifest", L"u", L"--installed", L"1", L"--name", L"A"})
            .error,
        "unknown option --name");
    EXPECT_EQ(ParseCommandLine(
                  {L"check", L"--manifest", L"u", L"--installed", L"1", L"--quiet-if-current=1"},
                  Program::Window)
                  .error,
              "option --quiet-if-current takes no value");
}

struct RefusedCase {
    std::vector<std::wstring> arguments;
    std::string error;
};

TEST(ParseCommandLine, RefusesMalformedCommandLines) {
    const RefusedCase cases[] = {
        {{}, "no command given"},
        {{L"--manifest", L"u"}, "no command given"},
        {{L"fetch"}, "unknown command fetch"},
        {{L"check", L"update"}, "unexpected argument update"},
        {{L"check", L"--installed", L"1"}, "check needs --manifest"},
        {{L"check", L"--manifest", L"u"}, "check needs --installed"},
        {{L"update", L"--manifest", L"u"}, "update needs --installed"},
        {{L"download"}, "download needs --manifest"},
        {{L"install"}, "install needs --manifest"},
        {{L"install", L"--manifest", L"u"}, "install needs --out"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--keep=1"},
         "--keep takes no value"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--publisher="}, "non-empty"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--publisher-thumbprint", L"ab"},
         "64 hex digits"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--publisher-thumbprint",
          std::wstring(63, L'a') + L"g"},
         "64 hex digits"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--wait-pid", L"0"}, "--wait-pid"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--wait-pid", L"12a"},
         "--wait-pid"},
        {{L"download", L"--manifest"}, "option --manifest needs a value"},
        {{L"download", L"--manifest="}, "option --manifest needs a non-empty value"},
        {{L"download", L"--manifest", L"a", L"--manifest", L"b"}, "given twice"},
        {{L"download", L"--manifest", L"u", L"--verbose"}, "unknown option --verbose"},
        {{L"download", L"--manifest", L"u", L"--yes=1"}, "--yes takes no value"},
        {{L"download", L"--manifest", L"u", L"--timeout", L"0"}, "--timeout needs"},
        {{L"download", L"--manifest", L"u", L"--timeout", L"-5"}, "--timeout needs"},
        {{L"download", L"--manifest", L"u", L"--timeout", L"1.5"}, "--timeout needs"},
        {{L"download", L"--manifest", L"u", L"--timeout", L"4294967296"}, "--timeout needs"},
        {{L"download", L"--manifest", L"u", L"--timeout", L"99999999999"}, "--timeout needs"},
        {{L"download", L"--manifest", L"u", L"--timeout", L""}, "non-empty value"},
        {{L"download", L"--manifest", L"u", L"--public-key="}, "non-empty value"},
        {{L"download", L"--manifest", L"u", L"--allow-unsigned=yes"}, "takes no value"},
        {{L"download", L"--manifest", L"u", L"--product", L"a", L"--product", L"b"}, "given twice"},
    };
    for (const RefusedCase& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments);
        EXPECT_FALSE(parsed.ok) << c.error;
        EXPECT_NE(parsed.error.find(c.error), std::string::npos)
            << "wanted \"" << c.error << "\", got \"" << parsed.error << "\"";
    }
}

TEST(ParseCommandLine, PublicKeysRepeatInOrder) {
    const auto parsed = ParseCommandLine({L"update", L"--manifest", L"u", L"--installed", L"1",
                                          L"--public-key", L"old.pem", L"--public-key=MFkw",
                                          L"--product", L"app", L"--allow-unsigned"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.publicKeys, (std::vector<std::wstring>{L"old.pem", L"MFkw"}));
    EXPECT_EQ(parsed.options.product, L"app");
    EXPECT_TRUE(parsed.options.allowUnsigned);
}

} // namespace
