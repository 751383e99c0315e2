#include "test_support.h"

#include <bcrypt.h>
#include <winhttp.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace hovrel::test {

ReferenceSha256::ReferenceSha256() {
    if (BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
        BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0) != 0) {
        throw std::runtime_error("the reference SHA-256 cannot start");
    }
}

ReferenceSha256::~ReferenceSha256() {
    BCryptDestroyHash(hash_);
    BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void ReferenceSha256::Update(const void* data, std::size_t size) {
    // CNG takes the input through a non-const pointer but only reads it.
    if (BCryptHashData(hash_, static_cast<PUCHAR>(const_cast<void*>(data)),
                       static_cast<ULONG>(size), 0) != 0) {
        throw std::runtime_error("the reference SHA-256 failed");
    }
}

std::string ReferenceSha256::FinishHex() {
    unsigned char digest[32] = {};
    if (BCryptFinishHash(hash_, digest, sizeof(digest), 0) != 0) {
        throw std::runtime_error("the reference SHA-256 failed");
    }
    static const char alphabet[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : digest) {
        hex += alphabet[byte >> 4];
        hex += alphabet[byte & 15];
    }
    return hex;
}

std::string Sha256Hex(const std::string& bytes) {
    ReferenceSha256 hash;
    hash.Update(bytes.data(), bytes.size());
    return hash.FinishHex();
}

std::string PatternBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(i % 7 == 0 ? 0 : state >> 24);
    }
    return bytes;
}

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    // Wine reuses small process ids from run to run, and a test killed by its
    // timeout leaves its folder behind: a taken name is skipped, not an error.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        folder_ = std::wstring(base) + L"hovrel-test-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(counter++);
        if (CreateDirectoryW(folder_.c_str(), nullptr)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..") {
                    RemoveDirectoryW(Path(name).c_str());
                }
            } else {
                DeleteFileW(Path(name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder_.c_str());
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open a file to read");
    }
    std::string bytes;
    std::vector<char> buffer(1 << 16);
    DWORD read = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read != 0) {
        bytes.append(buffer.data(), read);
    }
    CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!ok) {
        throw std::runtime_error("cannot write a file");
    }
}

std::uint64_t FileSizeOnDisk(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::uintptr_t NextWinHttpHandleSlot() {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
        return 0;
    }
    HINTERNET session = WinHttpOpen(L"probe", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) {
        throw std::runtime_error("WinHttpOpen failed");
    }
    WinHttpCloseHandle(session);
    return reinterpret_cast<std::uintptr_t>(session);
}

unsigned long OpenHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) {
        return count;
    }
    // Handle values step by 4 and Wine hands out the lowest free one, so the
    // open handles sit low and dense; a long run of free values ends them.
    constexpr std::uintptr_t kStep = 4;
    constexpr unsigned kMissesBeforeTheEnd = 1024;
    unsigned long open = 0;
    unsigned misses = 0;
    for (std::uintptr_t value = kStep; misses < kMissesBeforeTheEnd; value += kStep) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++open;
            misses = 0;
        } else {
            ++misses;
        }
    }
    return open;
}

} // namespace hovrel::test
