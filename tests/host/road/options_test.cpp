#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hovrel::road::Options;
using hovrel::road::ParseCommandLine;
using hovrel::road::Program;

// Every option that differs from its default, as "name=value", after the command.
std::wstring Describe(const Options& o) {
    static const wchar_t* const kCommands[] = {L"help",   L"check",  L"download", L"install",
                                               L"update", L"status", L"apply"};
    std::wstring text = kCommands[static_cast<int>(o.command)];
    const auto add = [&text](const wchar_t* name, const std::wstring& value) {
        if (!value.empty()) {
            text += L" " + std::wstring(name) + L"=" + value;
        }
    };
    const auto number = [](std::uint32_t n) { return n == 0 ? L"" : std::to_wstring(n); };
    const auto flag = [](bool set) { return std::wstring(set ? L"1" : L""); };
    add(L"manifest", o.manifestUrl);
    add(L"installed", o.installedVersion);
    add(L"out", o.outPath);
    add(L"installer-args", o.installerArgs);
    add(L"machine-id", o.machineId);
    add(L"timeout", number(o.timeoutSeconds));
    add(L"yes", flag(o.yes));
    for (const auto& key : o.publicKeys) {
        add(L"public-key", key);
    }
    add(L"product", o.product);
    add(L"allow-unsigned", flag(o.allowUnsigned));
    add(L"keep", flag(o.keep));
    add(L"elevate", flag(o.elevate));
    for (const auto& publisher : o.publishers) {
        add(L"publisher", publisher);
    }
    add(L"thumbprint", std::wstring(o.publisherThumbprint.begin(), o.publisherThumbprint.end()));
    add(L"wait-pid", number(o.waitPid));
    const auto unlessDefault = [](std::uint32_t n, std::uint32_t byDefault) {
        return n == byDefault ? L"" : std::to_wstring(n);
    };
    add(L"fetch-timeout", unlessDefault(o.fetchTimeoutSeconds, 60));
    add(L"min-rate", unlessDefault(o.minRate, 4096));
    add(L"min-rate-window", unlessDefault(o.minRateWindowSeconds, 60));
    add(L"retries", unlessDefault(o.retries, 3));
    add(L"signature-url", o.signatureUrl);
    add(L"quiet-if-current", flag(o.quietIfCurrent));
    add(L"name", o.displayName);
    add(L"auto", flag(o.automatic));
    add(L"interval", number(o.intervalHours));
    add(L"channel", o.channel);
    add(L"reset", flag(o.reset));
    add(L"background", flag(o.background));
    add(L"relaunch", o.relaunchPath);
    add(L"relaunch-args", o.relaunchArgs);
    return text;
}

TEST(ParseCommandLine, AcceptsEachCommandWithItsOptions) {
    const std::wstring thumbprint = L"AB:cd:" + std::wstring(60, L'0');
    const struct {
        std::vector<std::wstring> arguments;
        std::wstring options;
    } cases[] = {
        {{L"check", L"--manifest", L"http://h/m", L"--installed", L"1.0"},
         L"check manifest=http://h/m installed=1.0"},
        {{L"--manifest=http://h/m", L"--installed=1.0", L"update", L"--yes"},
         L"update manifest=http://h/m installed=1.0 yes=1"},
        {{L"download", L"--manifest", L"u", L"--out", L"C:\\p.exe", L"--timeout", L"30"},
         L"download manifest=u out=C:\\p.exe timeout=30"},
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args", L"/S /D=C:\\x"},
         L"install manifest=u out=p.exe installer-args=/S /D=C:\\x"},
        // A value that looks like an option is still the option's value.
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args", L"--quiet"},
         L"install manifest=u out=p.exe installer-args=--quiet"},
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--installer-args="},
         L"install manifest=u out=p.exe"},
        {{L"check", L"--manifest", L"u", L"--installed", L"2", L"--machine-id", L"Zo\u00EB"},
         L"check manifest=u installed=2 machine-id=Zo\u00EB"},
        {{L"update", L"--manifest", L"u", L"--installed", L"2", L"--timeout=4294967295"},
         L"update manifest=u installed=2 timeout=4294967295"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--keep", L"--elevate",
          L"--publisher", L"Hovrel Ltd", L"--publisher=Hovrel GmbH", L"--publisher-thumbprint",
          thumbprint, L"--wait-pid=4294967295"},
         L"update manifest=u installed=1 keep=1 elevate=1 publisher=Hovrel Ltd "
         L"publisher=Hovrel GmbH thumbprint=abcd" +
             std::wstring(60, L'0') + L" wait-pid=4294967295"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--public-key", L"old.pem",
          L"--public-key=MFkw", L"--product", L"app", L"--allow-unsigned"},
         L"update manifest=u installed=1 public-key=old.pem public-key=MFkw product=app "
         L"allow-unsigned=1"},
        {{L"check", L"--manifest", L"u", L"--installed", L"1", L"--product", L"p", L"--auto",
          L"--interval", L"744", L"--channel", L"beta-2"},
         L"check manifest=u installed=1 product=p auto=1 interval=744 channel=beta-2"},
        {{L"status", L"--product", L"p", L"--reset", L"--channel=stable"},
         L"status product=p channel=stable reset=1"},
        {{L"update", L"--manifest", L"u", L"--installed", L"1", L"--product", L"p", L"--background",
          L"--auto"},
         L"update manifest=u installed=1 product=p auto=1 background=1"},
        {{L"apply", L"--product", L"p", L"--installed", L"1", L"--wait-pid", L"7", L"--relaunch",
          L"C:\\App\\app.exe", L"--relaunch-args", L"--updated \"x y\""},
         L"apply installed=1 product=p wait-pid=7 relaunch=C:\\App\\app.exe "
         L"relaunch-args=--updated \"x y\""},
        {{L"install", L"--manifest", L"u", L"--out", L"p.exe", L"--relaunch", L"a.exe"},
         L"install manifest=u out=p.exe relaunch=a.exe"},
        {{L"--help"}, L"help"},
        {{L"check", L"--manifest", L"u", L"-h", L"--bogus"}, L"help"},
        {{L"/?"}, L"help"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments);
        ASSERT_TRUE(parsed.ok()) << parsed.reason();
        EXPECT_EQ(Describe(parsed.value()), c.options);
    }
}

// The window's two options are the window's only: the console refuses them.
TEST(ParseCommandLine, TakesTheWindowOptionsOnlyForTheWindow) {
    const std::vector<std::wstring> arguments = {
        L"update",         L"--manifest", L"u", L"--installed", L"1", L"--quiet-if-current",
        L"--name=Zo\u00EB"};
    const auto window = ParseCommandLine(arguments, Program::Window);
    ASSERT_TRUE(window.ok()) << window.reason();
    EXPECT_TRUE(window.value().quietIfCurrent);
    EXPECT_EQ(window.value().displayName, L"Zo\u00EB");
    EXPECT_EQ(ParseCommandLine(arguments).reason(), "unknown option --quiet-if-current");
    EXPECT_EQ(
        ParseCommandLine({L"check", L"--manifest", L"u", L"--installed", L"1", L"--name", L"A"})
            .reason(),
        "unknown option --name");
    EXPECT_EQ(ParseCommandLine(
                  {L"check", L"--manifest", L"u", L"--installed", L"1", L"--quiet-if-current=1"},
                  Program::Window)
                  .reason(),
              "option --quiet-if-current takes no value");
}

// A malformed tag is refused; a well-formed unknown one is kept, to fall
// back as the user's own language would.
TEST(ParseCommandLine, TakesAWellFormedLanguageForTheWindow) {
    const struct {
        const wchar_t* tag;
        const char* kept; // nullptr: refused
    } cases[] = {{L"de", "de"},       {L"pt-BR", "pt-BR"},   {L"tlh-Latn", "tlh-Latn"},
                 {L"de_DE", nullptr}, {L"d\u00E9", nullptr}, {L"de-", nullptr}};
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(
            {L"check", L"--manifest", L"u", L"--installed", L"1", L"--language", c.tag},
            Program::Window);
        if (c.kept == nullptr) {
            EXPECT_EQ(parsed.reason(), "--language needs a language tag such as de or pt-BR")
                << parsed.reason();
        } else {
            ASSERT_TRUE(parsed.ok()) << parsed.reason();
            EXPECT_EQ(parsed.value().language, c.kept);
        }
    }
    EXPECT_EQ(ParseCommandLine(
                  {L"check", L"--manifest", L"u", L"--installed", L"1", L"--language", L"de"})
                  .reason(),
              "unknown option --language");
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
        {{L"check", L"--manifest", L"u", L"--installed", L"1", L"--auto"},
         "--auto needs --product"},
        {{L"status"}, "status needs --product"},
        {{L"status", L"--product", L"p", L"--interval", L"745"}, "--interval needs hours"},
        {{L"status", L"--product", L"p", L"--interval", L"0"}, "--interval needs hours"},
        {{L"status", L"--product", L"p", L"--channel", L"Beta"}, "--channel needs a name"},
        {{L"status", L"--product", L"p", L"--channel", std::wstring(33, L'a')}, "--channel needs"},
        {{L"check", L"--manifest", L"u", L"--installed", L"1", L"--reset"}, "--reset goes with"},
        {{L"install", L"--manifest", L"u", L"--out", L"p", L"--product", L"p", L"--auto"},
         "install does not take --auto"},
        {{L"download", L"--manifest", L"u", L"--fetch-timeout", L"0"}, "--fetch-timeout needs"},
        {{L"download", L"--manifest", L"u", L"--min-rate", L"-1"}, "--min-rate needs"},
        {{L"download", L"--manifest", L"u", L"--min-rate", L"4294967296"}, "--min-rate needs"},
        {{L"download", L"--manifest", L"u", L"--min-rate-window", L"0"}, "--min-rate-window needs"},
        {{L"download", L"--manifest", L"u", L"--min-rate-window", L"3601"},
         "--min-rate-window needs"},
        {{L"download", L"--manifest", L"u", L"--retries", L"11"}, "--retries needs"},
        {{L"download", L"--manifest", L"u", L"--signature-url="}, "non-empty value"},
    };
    for (const RefusedCase& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments);
        EXPECT_FALSE(parsed.ok()) << c.error;
        EXPECT_NE(parsed.reason().find(c.error), std::string::npos)
            << "wanted \"" << c.error << "\", got \"" << parsed.reason() << "\"";
    }
}

// Rows a shared parser could get wrong: flags and repeatable options given
// again, values holding '=' or looking like help, the window's own rows.
TEST(ParseCommandLine, AcceptsWhatTheSharedRulesAllow) {
    const struct {
        Program program;
        std::vector<std::wstring> arguments;
        std::wstring options;
    } cases[] = {
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--public-key", L"a", L"--public-key", L"a"},
         L"download manifest=u public-key=a public-key=a"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--yes", L"--yes", L"--keep", L"--keep"},
         L"download manifest=u yes=1 keep=1"},
        {Program::Console,
         {L"install", L"--manifest=http://h/m?a=b", L"--out", L"p.exe",
          L"--installer-args=/D=C:\\x"},
         L"install manifest=http://h/m?a=b out=p.exe installer-args=/D=C:\\x"},
        {Program::Console,
         {L"install", L"--manifest", L"u", L"--out", L"--help", L"--installer-args", L""},
         L"install manifest=u out=--help"},
        {Program::Console, {L"download", L"--manifest", L"-h"}, L"download manifest=-h"},
        {Program::Window,
         {L"download", L"--manifest", L"u", L"--timeout", L"9", L"--quiet-if-current",
          L"--quiet-if-current", L"--name", L"A=B"},
         L"download manifest=u timeout=9 quiet-if-current=1 name=A=B"},
        {Program::Window, {L"--name", L"A", L"/?"}, L"help"},
        // The network's limits: 0 turns the floor and the retries off.
        {Program::Window,
         {L"check", L"--manifest", L"u", L"--installed", L"1", L"--fetch-timeout", L"2",
          L"--min-rate=0", L"--retries", L"0", L"--signature-url", L"http://h/s?a=b"},
         L"check manifest=u installed=1 fetch-timeout=2 min-rate=0 retries=0 "
         L"signature-url=http://h/s?a=b"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--min-rate", L"4294967295", L"--retries=10",
          L"--min-rate-window", L"3600"},
         L"download manifest=u min-rate=4294967295 min-rate-window=3600 retries=10"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments, c.program);
        ASSERT_TRUE(parsed.ok()) << parsed.reason();
        EXPECT_EQ(Describe(parsed.value()), c.options);
    }
}

// The refusals word for word, as the programs print them.
TEST(ParseCommandLine, WordsEachRefusalExactly) {
    const struct {
        Program program;
        std::vector<std::wstring> arguments;
        std::string error;
    } cases[] = {
        {Program::Console,
         {},
         "no command given (check, download, install, update, apply or status)"},
        {Program::Console, {L"fetch"}, "unknown command fetch"},
        {Program::Console, {L"-x"}, "unknown command -x"},
        {Program::Console, {L"check", L"update"}, "unexpected argument update"},
        {Program::Console, {L"check", L"--manifest", L"u"}, "check needs --installed"},
        {Program::Console,
         {L"install", L"--manifest", L"u"},
         "install needs --out (the downloaded package)"},
        {Program::Console,
         {L"download", L"--out", L"a", L"--out", L"b"},
         "option --out given twice"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--yes="},
         "option --yes takes no value"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--out"},
         "option --out needs a value"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--out="},
         "option --out needs a non-empty value"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--verbose"},
         "unknown option --verbose"},
        // The window's rows are unknown to the console, with or without a value.
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--quiet-if-current=1"},
         "unknown option --quiet-if-current"},
        {Program::Console, {L"download", L"--manifest", L"u", L"--name"}, "unknown option --name"},
        {Program::Window,
         {L"download", L"--manifest", L"u", L"--name"},
         "option --name needs a value"},
        {Program::Window,
         {L"download", L"--manifest", L"u", L"--name="},
         "option --name needs a non-empty value"},
        {Program::Window,
         {L"download", L"--name", L"a", L"--name", L"b"},
         "option --name given twice"},
        {Program::Window,
         {L"download", L"--manifest", L"u", L"--verbose"},
         "unknown option --verbose"},
        // Repeatable, yet never empty.
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--public-key", L"a", L"--public-key="},
         "option --public-key needs a non-empty value"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--publisher"},
         "option --publisher needs a value"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--timeout"},
         "option --timeout needs a value"},
        {Program::Console,
         {L"download", L"--timeout", L"5", L"--timeout", L"5"},
         "option --timeout given twice"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--timeout", L"0"},
         "--timeout needs a whole number of seconds from 1 to 4294967295"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--wait-pid=4294967296"},
         "--wait-pid needs a process id from 1 to 4294967295"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--publisher-thumbprint="},
         "option --publisher-thumbprint needs a non-empty value"},
        {Program::Console,
         {L"download", L"--publisher-thumbprint", std::wstring(64, L'a'), L"--publisher-thumbprint",
          std::wstring(64, L'a')},
         "option --publisher-thumbprint given twice"},
        // The first refusal in the line is the one told.
        {Program::Console,
         {L"download", L"--timeout", L"x", L"--bogus"},
         "--timeout needs a whole number of seconds from 1 to 4294967295"},
        {Program::Console, {L"--bogus", L"--help"}, "unknown option --bogus"},
        // Names match whole and exactly.
        {Program::Console, {L"--help=1"}, "unknown option --help"},
        {Program::Console, {L"--"}, "unknown option --"},
        {Program::Console, {L"--=x"}, "unknown option --"},
        {Program::Console, {L"--Yes"}, "unknown option --Yes"},
        {Program::Console, {L"--pub", L"x"}, "unknown option --pub"},
        {Program::Console, {L"--zo\u00EB"}, "unknown option --zo?"},
        {Program::Console, {L"check", L"\u00E9t\u00E9"}, "unexpected argument ?t?"},
        // The stage: one product's, and only update stages or apply installs it.
        {Program::Console, {L"apply", L"--installed", L"1"}, "apply needs --product"},
        {Program::Window, {L"apply", L"--product", L"P"}, "apply needs --installed"},
        {Program::Console,
         {L"update", L"--manifest", L"u", L"--installed", L"1", L"--background"},
         "--background needs --product"},
        {Program::Console,
         {L"check", L"--manifest", L"u", L"--installed", L"1", L"--product", L"P", L"--background"},
         "--background goes with update"},
        {Program::Console,
         {L"apply", L"--product", L"P", L"--installed", L"1", L"--auto"},
         "apply does not take --auto"},
        {Program::Console,
         {L"apply", L"--product", L"P", L"--installed", L"1", L"--out", L"x"},
         "--out does not go with --background or apply: the stage holds the package"},
        {Program::Console,
         {L"apply", L"--product", L"..", L"--installed", L"1"},
         "--product names the stage's folder: no \\ / : * ? \" < > |, and no trailing dot or "
         "space"},
        {Program::Console,
         {L"update", L"--manifest", L"u", L"--installed", L"1", L"--product", L"a\\b",
          L"--background"},
         "--product names the stage's folder: no \\ / : * ? \" < > |, and no trailing dot or "
         "space"},
        {Program::Console,
         {L"download", L"--manifest", L"u", L"--relaunch", L"app.exe"},
         "--relaunch goes with update, install or apply"},
        {Program::Console,
         {L"update", L"--manifest", L"u", L"--installed", L"1", L"--product", L"P", L"--background",
          L"--relaunch", L"app.exe"},
         "--relaunch goes with update, install or apply"},
        {Program::Console,
         {L"update", L"--manifest", L"u", L"--installed", L"1", L"--relaunch-args", L"-x"},
         "--relaunch-args needs --relaunch"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.arguments, c.program);
        EXPECT_FALSE(parsed.ok()) << c.error;
        EXPECT_EQ(parsed.reason(), c.error);
    }
}

} // namespace
