#include <string>

#include "hovrel.h"
#include "installer/command_line.h"
#include "interface/export_guard.h"
#include "interface/platform_handles.h"

// The start-up record handed over carries its size and nothing else.
static_assert(sizeof(STARTUPINFOW) == 104, "STARTUPINFOW of 64-bit Windows");

extern "C" HV_API HV_Result HV_CALL HV_RunInstaller(const wchar_t* installerPath,
                                                    const wchar_t* arguments, uint32_t* exitCode) {
    // Preset before anything else, so a caller can tell "no process ran"
    // from any exit code on every path.
    if (exitCode != nullptr) {
        *exitCode = 0xFFFFFFFF;
    }
    return hovrel::GuardExport([&]() -> HV_Result {
        if (installerPath == nullptr) {
            return HV_BadArgument;
        }
        // CreateProcessW may write into the command line, so it gets its own
        // writable copy.
        std::wstring commandLine = hovrel::BuildInstallerCommandLine(installerPath, arguments);

        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION created = {};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &created)) {
            return HV_InstallerFailed;
        }
        // Declared process first so the thread handle closes before it.
        hovrel::UniqueKernelObject process(created.hProcess);
        hovrel::UniqueKernelObject thread(created.hThread);

        WaitForSingleObject(process.get(), INFINITE);
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.get(), &code);
        thread.reset();
        process.reset();

        if (exitCode != nullptr) {
            *exitCode = code;
        }
        return code == 0 ? HV_Ok : HV_InstallerFailed;
    });
}
