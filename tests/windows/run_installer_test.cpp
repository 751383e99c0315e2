#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "hovrel_export.h"
#include "support/test_support.h"

namespace {

using namespace hovrel::test;

const std::wstring kDefaults = L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS";

// Drives the recorder program through its environment variables, which the
// started process inherits.
class RunInstaller : public ::testing::Test {
  protected:
    void SetUp() override {
        recorder_ = ProgramDirectory() + L"installer_recorder.exe";
        ASSERT_NE(GetFileAttributesW(recorder_.c_str()), INVALID_FILE_ATTRIBUTES);
        record_ = scratch_.Path(L"command_line.txt");
        SetEnvironmentVariableW(L"HOVREL_RECORDER_OUT", record_.c_str());
        ExitWith(0);
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"HOVREL_RECORDER_OUT", nullptr);
        SetEnvironmentVariableW(L"HOVREL_RECORDER_EXIT", nullptr);
    }

    static void ExitWith(std::uint32_t code) {
        SetEnvironmentVariableW(L"HOVREL_RECORDER_EXIT", std::to_wstring(code).c_str());
    }

    // The command line the recorder saw, or a note when it did not run.
    std::wstring Recorded() const {
        if (!FileExists(record_)) {
            return L"<recorder did not run>";
        }
        const std::string bytes = ReadWholeFile(record_);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }

    TempFolder scratch_;
    std::wstring recorder_;
    std::wstring record_;
};

TEST_F(RunInstaller, CommandLineIsQuotedPathAndArguments) {
    struct Case {
        const char* name;
        const wchar_t* arguments;
        std::wstring tail;
    };
    const Case cases[] = {
        {"null arguments", nullptr, L" " + kDefaults},
        {"empty arguments", L"", L" " + kDefaults},
        {"single space", L" ", L"  "},
        {"given arguments", L"/S /D=C:\\Program Files\\App", L" /S /D=C:\\Program Files\\App"},
        {"quotes passed unchanged", L"\"a b\" c\\\"", L" \"a b\" c\\\""},
    };
    for (const Case& c : cases) {
        DeleteFileW(record_.c_str());
        std::uint32_t exitCode = 12345;
        EXPECT_EQ(HV_EXPORT(HV_RunInstaller)(recorder_.c_str(), c.arguments, &exitCode), HV_Ok)
            << c.name;
        EXPECT_EQ(exitCode, 0u) << c.name;
        EXPECT_EQ(Recorded(), L"\"" + recorder_ + L"\"" + c.tail) << c.name;
    }
}

TEST_F(RunInstaller, ExitCodeDecidesTheResult) {
    struct Case {
        std::uint32_t code;
        HV_Result expected;
    };
    const Case cases[] = {
        {0, HV_Ok},
        {1, HV_InstallerFailed},
        {3010, HV_InstallerFailed},
        {0x80000000u, HV_InstallerFailed},
        {0xFFFFFFFFu, HV_InstallerFailed},
    };
    for (const Case& c : cases) {
        ExitWith(c.code);
        std::uint32_t exitCode = 12345;
        EXPECT_EQ(HV_EXPORT(HV_RunInstaller)(recorder_.c_str(), L"/S", &exitCode), c.expected)
            << c.code;
        EXPECT_EQ(exitCode, c.code);
        // Without a place for the exit code the result still tells.
        EXPECT_EQ(HV_EXPORT(HV_RunInstaller)(recorder_.c_str(), L"/S", nullptr), c.expected)
            << c.code;
    }
}

TEST_F(RunInstaller, ProgramsThatCannotStartLeaveExitCodePreset) {
    const std::wstring missing = scratch_.Path(L"missing.exe");
    const std::wstring notAProgram = scratch_.Path(L"not_a_program.exe");
    WriteWholeFile(notAProgram, "plain text, not an executable");
    const struct {
        const char* name;
        const wchar_t* path;
        HV_Result expected;
    } cases[] = {
        {"no path", nullptr, HV_BadArgument},
        {"missing", missing.c_str(), HV_InstallerFailed},
        {"not a program", notAProgram.c_str(), HV_InstallerFailed},
        {"empty path", L"", HV_InstallerFailed},
    };
    for (const auto& c : cases) {
        std::uint32_t exitCode = 0;
        EXPECT_EQ(HV_EXPORT(HV_RunInstaller)(c.path, nullptr, &exitCode), c.expected) << c.name;
        EXPECT_EQ(exitCode, 0xFFFFFFFFu) << c.name;
        EXPECT_EQ(HV_EXPORT(HV_RunInstaller)(c.path, nullptr, nullptr), c.expected) << c.name;
    }
}

TEST_F(RunInstaller, HandleCountSteadyOverManyRuns) {
    std::uint32_t exitCode = 0;
    const std::wstring missing = scratch_.Path(L"missing.exe");
    HV_EXPORT(HV_RunInstaller)(recorder_.c_str(), nullptr, &exitCode);
    const unsigned long before = OpenHandleCount();
    for (int i = 0; i < 15; ++i) {
        ExitWith(i % 2 == 0 ? 0 : 1);
        ASSERT_EQ(HV_EXPORT(HV_RunInstaller)(recorder_.c_str(), nullptr, &exitCode),
                  i % 2 == 0 ? HV_Ok : HV_InstallerFailed);
        ASSERT_EQ(HV_EXPORT(HV_RunInstaller)(missing.c_str(), nullptr, &exitCode),
                  HV_InstallerFailed);
    }
    EXPECT_EQ(OpenHandleCount(), before);
}

} // namespace
