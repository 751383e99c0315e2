#include "relaunch.h"

#include "elevated_install.h"
#include "installer_launch.h"
#include "package_file.h"

#include "handles.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

namespace hovrel::windows {

namespace {

common::Status Failed(const char* what) {
    return common::Status::Failure(std::string(what) + " (error " + std::to_string(GetLastError()) +
                                   ")");
}

// The desktop's shell: the process behind the shell window, or, where no
// shell window is registered (Wine registers none), the session's
// explorer.exe. 0 when neither is found.
DWORD ShellProcessId() {
    DWORD pid = 0;
    const HWND shell = GetShellWindow();
    if (shell != nullptr && GetWindowThreadProcessId(shell, &pid) != 0 && pid != 0) {
        return pid;
    }
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        return 0;
    }
    const hovrel::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        DWORD its = 0;
        if (_wcsicmp(entry.szExeFile, L"explorer.exe") == 0 &&
            ProcessIdToSessionId(entry.th32ProcessID, &its) && its == session) {
            return entry.th32ProcessID;
        }
    }
    return 0;
}

// The signed-in user's desktop starts programs unelevated under UAC; a
// primary token duplicated from it starts the app with exactly the rights
// a double-click would give it. Chosen over the shell's COM automation: no
// COM and no shell32 in the host.
common::Status ShellToken(hovrel::UniqueKernelObject& token) {
    const DWORD shellPid = ShellProcessId();
    if (shellPid == 0) {
        return common::Status::Failure("no desktop shell runs to start it as the user");
    }
    const hovrel::UniqueKernelObject process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellPid));
    if (!process) {
        return Failed("cannot open the desktop shell's process");
    }
    HANDLE shellToken = nullptr;
    if (!OpenProcessToken(process.get(), TOKEN_DUPLICATE, &shellToken)) {
        return Failed("cannot read the desktop shell's token");
    }
    const hovrel::UniqueKernelObject shellOwned(shellToken);
    HANDLE primary = nullptr;
    constexpr DWORD kAccess = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                              TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
    if (!DuplicateTokenEx(shellToken, kAccess, nullptr, SecurityImpersonation, TokenPrimary,
                          &primary)) {
        return Failed("cannot duplicate the desktop shell's token");
    }
    token.reset(primary);
    return common::Status::Ok();
}

} // namespace

common::Status StartAsUser(const std::wstring& program, const std::wstring& arguments) {
    const common::Result<std::wstring> absolute = AbsolutePath(program);
    if (!absolute) {
        return common::Status::Failure(absolute.reason());
    }
    std::wstring commandLine = road::QuotedArgument(absolute.value());
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (HostIsElevated()) {
        hovrel::UniqueKernelObject token;
        const common::Status found = ShellToken(token);
        if (!found) {
            return found;
        }
        if (!CreateProcessWithTokenW(token.get(), 0, absolute.value().c_str(), commandLine.data(),
                                     0, nullptr, nullptr, &startup, &started)) {
            return Failed("Windows did not start it as the user");
        }
    } else if (!CreateProcessW(absolute.value().c_str(), commandLine.data(), nullptr, nullptr,
                               FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return Failed("Windows did not start it");
    }
    const hovrel::UniqueKernelObject thread(started.hThread);
    const hovrel::UniqueKernelObject process(started.hProcess);
    return common::Status::Ok();
}

} // namespace hovrel::windows
