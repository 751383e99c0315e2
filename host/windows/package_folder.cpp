#include "package_folder.h"

#include "handles.h"
#include "installer_launch.h"
#include "interface/platform_handles.h"

#include "utf8.h"

#include <windows.h>
#include <aclapi.h>
#include <bcrypt.h>

#include <cstdio>
#include <vector>

namespace hovrel::windows {

namespace {

// GetTempPath2W is Windows 11 and Server 2022 (and later updates of 10); it
// gives SYSTEM processes a folder of their own instead of C:\Windows\Temp.
std::wstring TempFolder() {
    using GetTempPath2Function = DWORD(WINAPI*)(DWORD, LPWSTR);
    auto getTempPath2 = reinterpret_cast<GetTempPath2Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = getTempPath2 != nullptr ? getTempPath2(MAX_PATH + 1, folder)
                                                 : GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        return std::wstring();
    }
    return std::wstring(folder, length);
}

std::string FolderText(const std::wstring& folder) {
    std::string text;
    return common::WideToUtf8(folder, text) ? text : std::string("the temp folder");
}

std::vector<BYTE> CurrentUserSid() {
    UniqueToken token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return {};
    }
    std::vector<BYTE> buffer(256);
    DWORD needed = 0;
    BOOL ok = GetTokenInformation(token.get(), TokenUser, buffer.data(),
                                  static_cast<DWORD>(buffer.size()), &needed);
    if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(needed);
        ok = GetTokenInformation(token.get(), TokenUser, buffer.data(), needed, &needed);
    }
    if (!ok) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) {
        return {};
    }
    sid.resize(size);
    return sid;
}

// Full control for SYSTEM, Administrators and (unless protected) the user,
// inherited by the files inside; nothing from the folder above.
bool BuildDacl(std::vector<BYTE>& acl, bool userMayWrite) {
    std::vector<std::vector<BYTE>> sids = {WellKnownSid(WinLocalSystemSid),
                                           WellKnownSid(WinBuiltinAdministratorsSid)};
    if (userMayWrite) {
        sids.push_back(CurrentUserSid());
    }
    DWORD size = sizeof(ACL);
    for (const auto& sid : sids) {
        if (sid.empty()) {
            return false;
        }
        size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + static_cast<DWORD>(sid.size());
    }
    acl.assign(size, 0);
    auto* list = reinterpret_cast<PACL>(acl.data());
    if (!InitializeAcl(list, size, ACL_REVISION)) {
        return false;
    }
    for (const auto& sid : sids) {
        if (!AddAccessAllowedAceEx(list, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                   FILE_ALL_ACCESS, const_cast<BYTE*>(sid.data()))) {
            return false;
        }
    }
    return true;
}

// The access list of BuildDacl in a descriptor that does not inherit.
class FolderAccess {
  public:
    bool Build(bool userMayWrite) {
        return BuildDacl(acl_, userMayWrite) &&
               InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&descriptor_, TRUE, reinterpret_cast<PACL>(acl_.data()),
                                         FALSE) &&
               SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    SECURITY_ATTRIBUTES Attributes() { return {sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE}; }

  private:
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_ = {};
};

constexpr wchar_t kNamePrefix[] = L"hovrel-";
constexpr wchar_t kKeptMarker[] = L"\\hovrel-kept";
constexpr std::size_t kRandomBytes = 12;

bool RandomName(std::wstring& name) {
    unsigned char bytes[kRandomBytes] = {};
    if (BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG) < 0) {
        return false;
    }
    name = kNamePrefix;
    for (unsigned char byte : bytes) {
        wchar_t hex[3] = {};
        std::swprintf(hex, 3, L"%02x", byte);
        name += hex;
    }
    return true;
}

bool IsRunFolderName(const std::wstring& name) {
    const std::wstring prefix = kNamePrefix;
    if (name.size() != prefix.size() + 2 * kRandomBytes || name.compare(0, prefix.size(), prefix)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) {
            return false;
        }
    }
    return true;
}

bool OwnedBy(const std::wstring& path, const std::vector<BYTE>& user) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueLocal<PSECURITY_DESCRIPTOR> owned(descriptor);
    return owner != nullptr && EqualSid(owner, const_cast<BYTE*>(user.data()));
}

// Deletes the files in the folder, but `spare`, and the folder when nothing
// is left.
void RemoveFolder(const std::wstring& path, const std::wstring& spare) {
    WIN32_FIND_DATAW found = {};
    const UniqueFind search(FindFirstFileW((path + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring file = path + L"\\" + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && file != spare) {
                DeleteFileW(file.c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    if (spare.empty()) {
        RemoveDirectoryW(path.c_str());
    }
}

// Run folders in `parent` older than `cutoff`, named and owned as this
// program's own, not kept.
void RemoveStaleIn(const std::wstring& parent, const std::vector<std::vector<BYTE>>& owners,
                   ULONGLONG cutoff) {
    WIN32_FIND_DATAW found = {};
    const UniqueFind search(FindFirstFileW((parent + kNamePrefix + L"*").c_str(), &found));
    if (!search) {
        return;
    }
    do {
        const FILETIME& written = found.ftLastWriteTime;
        const ULONGLONG time = (ULONGLONG(written.dwHighDateTime) << 32) | written.dwLowDateTime;
        const std::wstring path = parent + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !IsRunFolderName(found.cFileName) || time >= cutoff ||
            GetFileAttributesW((path + kKeptMarker).c_str()) != INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        for (const auto& owner : owners) {
            if (!owner.empty() && OwnedBy(path, owner)) {
                RemoveFolder(path, std::wstring());
                break;
            }
        }
    } while (FindNextFileW(search.get(), &found));
}

std::wstring ProtectedParent() {
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return std::wstring();
    }
    return std::wstring(windows, length) + L"\\Temp\\";
}

} // namespace

PackageFolder::~PackageFolder() {
    if (!keep_) {
        Remove();
    }
}

common::Status PackageFolder::Create() {
    const std::wstring temp = TempFolder();
    if (temp.empty()) {
        return common::Status::Failure("cannot read the temp folder's path; give --out");
    }
    return CreateIn(temp, true);
}

// The Windows folder's Temp, not %TEMP% or %ProgramData%: the user can set
// those for the elevated process too.
common::Status PackageFolder::CreateProtected() {
    const std::wstring parent = ProtectedParent();
    if (parent.empty()) {
        return common::Status::Failure("cannot read the Windows folder's path");
    }
    return CreateIn(parent, false);
}

void PackageFolder::Keep() {
    keep_ = true;
    if (!path_.empty()) {
        const hovrel::UniqueFile marker(CreateFileW((path_ + kKeptMarker).c_str(), GENERIC_WRITE, 0,
                                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
    }
}

common::Status PackageFolder::CreateIn(const std::wstring& temp, bool userMayWrite) {
    using common::Status;
    FolderAccess access;
    if (!access.Build(userMayWrite)) {
        return Status::Failure("cannot build the package folder's access list");
    }
    SECURITY_ATTRIBUTES attributes = access.Attributes();
    // A name already taken is either chance or a squatter; draw again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::wstring name;
        if (!RandomName(name)) {
            return Status::Failure("the system's random number generator failed");
        }
        const std::wstring path = temp + name;
        if (CreateDirectoryW(path.c_str(), &attributes)) {
            path_ = path;
            return Status::Ok();
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return Status::Failure("cannot create a package folder in " + FolderText(temp) +
                                   " (error " + std::to_string(GetLastError()) +
                                   "); check it, or give --out");
        }
    }
    return Status::Failure("cannot find a free package folder name in the temp folder");
}

void PackageFolder::Remove(std::wstring spare) {
    if (path_.empty()) {
        return;
    }
    if (!spare.empty() && GetFileAttributesW(spare.c_str()) == INVALID_FILE_ATTRIBUTES) {
        spare.clear();
    }
    RemoveFolder(path_, spare);
    path_.clear();
}

common::Status CreatePrivateFolder(const std::wstring& path) {
    FolderAccess access;
    if (!access.Build(true)) {
        return common::Status::Failure("cannot build the folder's access list");
    }
    SECURITY_ATTRIBUTES attributes = access.Attributes();
    if (!CreateDirectoryW(path.c_str(), &attributes)) {
        return common::Status::Failure("cannot create " + FolderText(path) + " (error " +
                                       std::to_string(GetLastError()) + ")");
    }
    return common::Status::Ok();
}

void RemoveFolderAndFiles(const std::wstring& path) {
    RemoveFolder(path, std::wstring());
}

void RemoveStalePackageFolders() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG day = 24ull * 60 * 60 * 10000000;
    const ULONGLONG cutoff = ((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) - day;
    const std::vector<BYTE> user = CurrentUserSid();
    const std::wstring temp = TempFolder();
    if (!temp.empty()) {
        RemoveStaleIn(temp, {user}, cutoff);
    }
    // An elevated process's folders belong to it or to Administrators.
    const std::wstring parent = ProtectedParent();
    if (HostIsElevated() && !parent.empty()) {
        RemoveStaleIn(parent, {user, WellKnownSid(WinBuiltinAdministratorsSid)}, cutoff);
    }
}

} // namespace hovrel::windows
