#pragma once

// Who built the installer: its Authenticode signature must be valid and its
// signer certificate must carry one of the named common names, or have the
// pinned SHA-256 thumbprint.

#include <windows.h>

#include "status.h"

#include <string>
#include <vector>

namespace hovrel::windows {

// The signer's common name when the package is accepted, else one line
// saying why not. `file` is the held package handle, so the bytes checked
// are the bytes run.
common::Result<std::string> CheckPublisher(HANDLE file, const std::wstring& path,
                                           const std::vector<std::wstring>& names,
                                           const std::string& thumbprintHex);

} // namespace hovrel::windows
