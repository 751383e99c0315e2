#pragma once

// A folder of the run's own for the downloaded package, under the user's temp
// folder, that only the user, SYSTEM and Administrators may open, with a name
// no other process can guess ahead of time. An installer that runs elevated
// runs from a protected one instead, under the Windows folder's Temp, that
// only SYSTEM and Administrators may write: the user's own unelevated
// processes cannot put a DLL beside it there.

#include "status.h"

#include <string>

namespace hovrel::windows {

class PackageFolder {
  public:
    PackageFolder() = default;
    ~PackageFolder();
    PackageFolder(const PackageFolder&) = delete;
    PackageFolder& operator=(const PackageFolder&) = delete;

    // Creates the folder, or says what failed.
    common::Status Create();
    // Creates a protected folder; the host must be elevated.
    common::Status CreateProtected();

    const std::wstring& Path() const { return path_; }

    // Left in place when the run ends (--keep, or a download for later), and
    // marked so that no later start takes it for one a hard kill left.
    void Keep();

    // Deletes every file in it except `spare` (a log worth reading), and the
    // folder when nothing is left. Also done on destruction unless kept.
    void Remove(std::wstring spare = std::wstring());

  private:
    common::Status CreateIn(const std::wstring& parent, bool userMayWrite);

    std::wstring path_;
    bool keep_ = false;
};

// A folder at `path` with the same private access list as a package folder
// (the user, SYSTEM and Administrators), for a folder that must keep its name.
common::Status CreatePrivateFolder(const std::wstring& path);

// Deletes the files in the folder, then the folder.
void RemoveFolderAndFiles(const std::wstring& path);

// Removes what a hard kill left: this program's folders in the user's temp
// folder (its name pattern, owned by the user, not kept) not written for a
// day; an elevated host also its protected ones.
void RemoveStalePackageFolders();

} // namespace hovrel::windows
