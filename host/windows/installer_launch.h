#pragma once

// Starts the verified package: a program directly, an MSI through the
// system's msiexec; through Hovrel.dll, or through the "runas" verb when
// asked to. An unelevated host never starts an installer elevated itself: it
// starts itself elevated instead (RunHostElevated), which copies the package
// where only administrators can change it.

#include "hovrel.h"
#include "package_name.h"

#include <cstdint>
#include <functional>
#include <string>

namespace hovrel::windows {

struct InstallerRun {
    HV_Result result = HV_InstallerFailed;
    std::uint32_t exitCode = 0xFFFFFFFF;
    bool msi = false;
    bool elevated = false;        // went through "runas"
    bool declined = false;        // the UAC prompt was declined
    std::uint32_t shellError = 0; // ShellExecuteExW's error when it failed
    bool needsElevation = false;  // no process could be created without administrator rights
};

// `announce` is told before the runas road is taken, so the user knows why a
// prompt appears.
InstallerRun RunPackage(const std::wstring& package, road::PackageKind kind,
                        const std::wstring& extraArguments, bool elevate,
                        const std::function<void(const char* why)>& announce);

// This program through "runas" with `arguments`, waited for; its exit code
// is the elevated run's.
InstallerRun RunHostElevated(const std::wstring& arguments);

// True when this process runs with administrator rights, so that whatever it
// starts does too.
bool HostIsElevated();

// The msiexec program in the system folder.
std::wstring MsiexecPath();

} // namespace hovrel::windows
