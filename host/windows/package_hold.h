#pragma once

// The package opened once for reading, sharing reading only: while this
// handle lives no process can open the file for writing or delete it, yet
// HV_HashFile, WinVerifyTrust and process creation (which read it) still
// can. Held from before verification until the installer has run.

#include "interface/platform_handles.h"

#include <string>

namespace hovrel::windows {

inline hovrel::UniqueFile HoldPackage(const std::wstring& path) {
    return hovrel::UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace hovrel::windows
