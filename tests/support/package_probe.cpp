// Plays the other process: tries to open PATH for writing and to delete it,
// and reads the access list of PATH's folder. Prints one line each:
//   write ERROR / delete ERROR (0 when it worked)
//   user SID / dacl protected=0|1 SID...
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>

namespace {

std::wstring SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return L"?";
    }
    std::wstring copy = text;
    LocalFree(text);
    return copy;
}

void PrintUser() {
    HANDLE token = nullptr;
    BYTE buffer[256] = {};
    DWORD size = 0;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        std::wprintf(L"user %ls\n",
                     SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid).c_str());
    }
}

void PrintFolderDacl(const std::wstring& path) {
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status =
        GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor);
    if (status != ERROR_SUCCESS) {
        std::wprintf(L"dacl error %lu\n", status);
        return;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    std::wprintf(L"dacl protected=%d", (control & SE_DACL_PROTECTED) != 0 ? 1 : 0);
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&header))) {
            const bool allowed = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
            // Allowed and denied ACEs keep the SID at the same place.
            auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            std::wprintf(L" %ls%ls", allowed ? L"" : L"other:",
                         SidText(reinterpret_cast<PSID>(&ace->SidStart)).c_str());
        }
    }
    std::wprintf(L"\n");
    LocalFree(descriptor);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: package_probe PATH\n");
        return 2;
    }
    const wchar_t* path = argv[1];
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::wprintf(L"write %lu\n", file == INVALID_HANDLE_VALUE ? GetLastError() : 0UL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    PrintUser();
    PrintFolderDacl(path);
    std::wprintf(L"delete %lu\n", DeleteFileW(path) ? 0UL : GetLastError());
    return 0;
}
