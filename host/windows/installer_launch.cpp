#include "installer_launch.h"

#include "handles.h"
#include "installer/command_line.h"
#include "package_name.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace hovrel::windows {

using namespace hovrel::road;

bool HostIsElevated() {
    UniqueToken token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return false;
    }
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const BOOL ok =
        GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size);
    return ok && elevation.TokenIsElevated != 0;
}

namespace {

// ShellExecuteExW takes no default switches of its own, so the library's are
// passed explicitly for an .exe.
void RunElevated(const std::wstring& program, const std::wstring& arguments, InstallerRun& run) {
    run.elevated = true;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.empty() ? hovrel::kDefaultInstallerArguments : arguments.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) {
        run.shellError = GetLastError();
        run.declined = run.shellError == ERROR_CANCELLED;
        return;
    }
    const UniqueKernelObject process(info.hProcess);
    if (!process) {
        // The shell handed the start to something else; its outcome is unknown.
        run.shellError = ERROR_INVALID_HANDLE;
        return;
    }
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.get(), &code);
    run.exitCode = code;
    run.result = code == 0 ? HV_Ok : HV_InstallerFailed;
}

} // namespace

std::wstring MsiexecPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return L"msiexec.exe";
    }
    return std::wstring(folder, length) + L"\\msiexec.exe";
}

InstallerRun RunPackage(const std::wstring& package, PackageKind kind,
                        const std::wstring& extraArguments, bool elevate,
                        const std::function<void(const char* why)>& announce) {
    InstallerRun run;
    run.msi = kind == PackageKind::Msi;
    const std::wstring program = run.msi ? MsiexecPath() : package;
    const std::wstring arguments =
        run.msi ? MsiexecArguments(package, extraArguments) : extraArguments;
    if (elevate) {
        announce("Starting the installer through Windows' \"runas\" (--elevate).");
        RunElevated(program, arguments, run);
        return run;
    }
    run.result = HV_RunInstaller(program.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                                 &run.exitCode);
    // No process was created (the library cannot say why). An unelevated
    // host is refused exactly so by an installer that requires
    // administrator rights.
    run.needsElevation =
        run.result == HV_InstallerFailed && run.exitCode == 0xFFFFFFFFu && !HostIsElevated();
    return run;
}

InstallerRun RunHostElevated(const std::wstring& arguments) {
    InstallerRun run;
    std::vector<wchar_t> self(MAX_PATH + 1);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length == 0) {
            run.shellError = GetLastError();
            return run;
        }
        if (length < self.size()) {
            break;
        }
        self.resize(self.size() * 2);
    }
    RunElevated(self.data(), arguments, run);
    return run;
}

} // namespace hovrel::windows
