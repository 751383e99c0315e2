#include "package_folder.h"

#include "handles.h"

#include <windows.h>
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

// Full control for the three, inherited by the files inside; nothing from the
// temp folder above.
bool BuildDacl(std::vector<BYTE>& acl) {
    const std::vector<BYTE> sids[] = {CurrentUserSid(), WellKnownSid(WinLocalSystemSid),
                                      WellKnownSid(WinBuiltinAdministratorsSid)};
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

bool RandomName(std::wstring& name) {
    unsigned char bytes[12] = {};
    if (BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG) < 0) {
        return false;
    }
    name = L"hovrel-";
    for (unsigned char byte : bytes) {
        wchar_t hex[3] = {};
        std::swprintf(hex, 3, L"%02x", byte);
        name += hex;
    }
    return true;
}

} // namespace

PackageFolder::~PackageFolder() {
    if (!keep_) {
        Remove();
    }
}

common::Status PackageFolder::Create() {
    using common::Status;
    const std::wstring temp = TempFolder();
    if (temp.empty()) {
        return Status::Failure("cannot read the temp folder's path; give --out");
    }
    std::vector<BYTE> acl;
    SECURITY_DESCRIPTOR descriptor = {};
    if (!BuildDacl(acl) ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE) ||
        !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        return Status::Failure("cannot build the package folder's access list");
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
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
            return Status::Failure("cannot create a package folder in the temp folder (error " +
                                   std::to_string(GetLastError()) + "); check it, or give --out");
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
    WIN32_FIND_DATAW found = {};
    const UniqueFind search(FindFirstFileW((path_ + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring file = path_ + L"\\" + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && file != spare) {
                DeleteFileW(file.c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    if (spare.empty()) {
        RemoveDirectoryW(path_.c_str());
    }
    path_.clear();
}

} // namespace hovrel::windows
