#include <gtest/gtest.h>

#include <string>

#include "installer/command_line.h"

namespace {

using hovrel::BuildInstallerCommandLine;

const std::wstring kDefaults = L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS";

TEST(BuildInstallerCommandLine, QuotesThePathAndAppendsArgumentsUnchanged) {
    struct Case {
        const char* name;
        const wchar_t* path;
        const wchar_t* arguments;
        std::wstring expected;
    };
    const Case cases[] = {
        {"path with spaces", L"C:\\Program Files\\My App\\setup.exe", L"/S",
         L"\"C:\\Program Files\\My App\\setup.exe\" /S"},
        {"quotes inside path and arguments", L"C:\\a\"b.exe", L"\"x y\" \\\"",
         L"\"C:\\a\"b.exe\" \"x y\" \\\""},
        {"empty path", L"", nullptr, L"\"\" " + kDefaults},
        {"empty path with arguments", L"", L"/S", L"\"\" /S"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildInstallerCommandLine(c.path, c.arguments), c.expected) << c.name;
    }
}

TEST(BuildInstallerCommandLine, LengthIsBothLengthsPlusThree) {
    const std::wstring path(300, L'p');
    const std::wstring arguments(5000, L'a');
    const std::wstring line = BuildInstallerCommandLine(path.c_str(), arguments.c_str());
    ASSERT_EQ(line.size(), path.size() + arguments.size() + 3);
    EXPECT_EQ(line, L"\"" + path + L"\" " + arguments);
}

} // namespace
