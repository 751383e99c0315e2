#include "test_files.h"

#include <atomic>

namespace hovrel::test {

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

ScratchDirectory::ScratchDirectory() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"hovrel_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(counter++);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryW(File(name).c_str());
            } else {
                DeleteFileW(File(name).c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes.clear();
    char block[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, block, sizeof(block), &got, nullptr) != FALSE) && got > 0) {
        bytes.append(block, got);
    }
    CloseHandle(file);
    return ok;
}

HandleSnapshot TakeHandleSnapshot() {
    HandleSnapshot snapshot;
    GetProcessHandleCount(GetCurrentProcess(), &snapshot.count);
    HANDLE probes[16];
    for (HANDLE& probe : probes) {
        probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        snapshot.nextHandles.push_back(reinterpret_cast<std::uintptr_t>(probe));
    }
    for (HANDLE probe : probes) {
        CloseHandle(probe);
    }
    return snapshot;
}

} // namespace hovrel::test
