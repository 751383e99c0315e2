#pragma once

#include <string>

namespace hovrel {

// Switches asking an installer for an unattended run, used when the caller
// gives no arguments.
extern const wchar_t kDefaultInstallerArguments[];

// "<installerPath>" <arguments>, with the default switches when arguments is
// null or empty. Neither text is escaped or checked: both reach the system
// exactly as given.
std::wstring BuildInstallerCommandLine(const wchar_t* installerPath, const wchar_t* arguments);

} // namespace hovrel
