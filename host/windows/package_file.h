#pragma once

// The package on disk: its absolute path, its kind from its first bytes, the
// temporary name a download takes until it verified, and the copy an elevated
// installer runs from.

#include "hovrel.h"
#include "package_folder.h"
#include "package_name.h"
#include "status.h"

#include "interface/platform_handles.h"

#include <windows.h>

#include <string>

namespace hovrel::windows {

// Windows searches the starting program's own folder first for a bare or
// relative name, so a relative path could start a file other than the one
// verified.
common::Result<std::wstring> AbsolutePath(const std::wstring& path);

// HV_HashFile against the manifest's digest: HV_Ok, HV_HashMismatch or the
// reason it could not hash.
HV_Result HashMatches(const std::wstring& path, const char* sha256);

// From the first bytes of the open file, whatever its position.
road::PackageKind ReadPackageKind(HANDLE file);

// In the same folder as `path`, so that moving it there is a rename.
std::wstring PartialDownloadPath(const std::wstring& path);

// A copy of the held package in a new protected folder, itself held sharing
// reading only; the folder goes with it.
class ProtectedCopy {
  public:
    // Copies the held file's bytes as `fileName`; the host must be elevated.
    common::Status Make(HANDLE held, const std::wstring& fileName);
    const std::wstring& Path() const { return path_; }
    HANDLE Held() const { return copy_.get(); }

  private:
    PackageFolder folder_; // declared first, so the copy is closed before it goes
    hovrel::UniqueFile copy_;
    std::wstring path_;
};

} // namespace hovrel::windows
