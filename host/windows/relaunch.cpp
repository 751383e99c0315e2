#include "relaunch.h"

#include "elevated_install.h"
#include "installer_launch.h"
#include "package_file.h"

#include "handles.h"

#include <windows.h>

namespace hovrel::windows {

namespace {

common::Status Failed(const char* what) {
    return common::Status::Failure(std::string(what) + " (error " + std::to_string(GetLastError()) +
                                   ")");
}

// The desktop shell runs as the signed-in user without elevation; a
// primary token duplicated from it starts processes the same way. Chosen
// over the shell's COM automation: no COM and no shell32 in the host.
common::Status ShellToken(hovrel::UniqueKernelObject& token) {
    const HWND shell = GetShellWindow();
    DWORD shellPid = 0;
    if (shell == nullptr || GetWindowThreadProcessId(shell, &shellPid) == 0 || shellPid == 0) {
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
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return common::Status::Ok();
}

} // namespace hovrel::windows
