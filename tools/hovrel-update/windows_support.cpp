#include "windows_support.h"

#include "policy.h"

#include <windows.h>
#include <bcrypt.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace hovrel_update {

namespace {

struct AlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE algorithm) const {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};
struct HashDestroyer {
    void operator()(BCRYPT_HASH_HANDLE hash) const { BCryptDestroyHash(hash); }
};
using UniqueAlgorithm = std::unique_ptr<std::remove_pointer_t<BCRYPT_ALG_HANDLE>, AlgorithmCloser>;
using UniqueHash = std::unique_ptr<std::remove_pointer_t<BCRYPT_HASH_HANDLE>, HashDestroyer>;

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

} // namespace

bool Utf8ToWide(const char* text, std::wstring& wide) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length));
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, buffer.data(), length) !=
        length) {
        return false;
    }
    wide.assign(buffer.data());
    return true;
}

bool WideToUtf8(const std::wstring& wide, std::string& text) {
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.c_str(), -1, nullptr,
                                           0, nullptr, nullptr);
    if (length <= 0) {
        return false;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length));
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.c_str(), -1, buffer.data(), length,
                            nullptr, nullptr) != length) {
        return false;
    }
    text.assign(buffer.data());
    return true;
}

bool Sha256(const std::string& data, std::array<std::uint8_t, 32>& digest) {
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (!Succeeded(
            BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    UniqueAlgorithm algorithm(rawAlgorithm);
    DWORD objectLength = 0;
    ULONG written = 0;
    if (!Succeeded(BCryptGetProperty(algorithm.get(), BCRYPT_OBJECT_LENGTH,
                                     reinterpret_cast<PUCHAR>(&objectLength), sizeof objectLength,
                                     &written, 0))) {
        return false;
    }
    // Declared before the hash so that it outlives it.
    std::vector<UCHAR> hashObject(objectLength);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!Succeeded(BCryptCreateHash(algorithm.get(), &rawHash, hashObject.data(), objectLength,
                                    nullptr, 0, 0))) {
        return false;
    }
    UniqueHash hash(rawHash);
    // CNG takes the input through a non-const pointer but only reads it.
    auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(data.data()));
    return Succeeded(BCryptHashData(hash.get(), bytes, static_cast<ULONG>(data.size()), 0)) &&
           Succeeded(
               BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
}

bool MachineBucket(const std::string& machineId, const std::string& manifestVersion,
                   std::uint32_t& bucket) {
    std::array<std::uint8_t, 32> digest{};
    if (!Sha256(RolloutInput(machineId, manifestVersion), digest)) {
        return false;
    }
    bucket = RolloutBucket(digest);
    return true;
}

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) {
        return std::wstring();
    }
    return std::wstring(name, length);
}

bool StdoutIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

} // namespace hovrel_update
