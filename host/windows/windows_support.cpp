#include "windows_support.h"

#include "policy.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

struct AlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE algorithm) const {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};
struct HashDestroyer {
    void operator()(BCRYPT_HASH_HANDLE hash) const { BCryptDestroyHash(hash); }
};
struct KeyDestroyer {
    void operator()(BCRYPT_KEY_HANDLE key) const { BCryptDestroyKey(key); }
};
using UniqueAlgorithm = std::unique_ptr<std::remove_pointer_t<BCRYPT_ALG_HANDLE>, AlgorithmCloser>;
using UniqueHash = std::unique_ptr<std::remove_pointer_t<BCRYPT_HASH_HANDLE>, HashDestroyer>;
using UniqueKey = std::unique_ptr<std::remove_pointer_t<BCRYPT_KEY_HANDLE>, KeyDestroyer>;

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

EcdsaResult VerifyEcdsaP256(const std::array<std::uint8_t, 64>& point,
                            const std::array<std::uint8_t, 32>& digest,
                            const std::array<std::uint8_t, 64>& signature) {
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (!Succeeded(
            BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
        return EcdsaResult::SystemError;
    }
    UniqueAlgorithm algorithm(rawAlgorithm);
    // The public blob: its header, then X and Y.
    std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + 64> blob{};
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, point.data(), point.size());
    BCRYPT_KEY_HANDLE rawKey = nullptr;
    // A point that is not on the curve is refused here: no key can verify.
    if (!Succeeded(BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &rawKey,
                                       blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return EcdsaResult::Invalid;
    }
    UniqueKey key(rawKey);
    // CNG takes both through non-const pointers but only reads them.
    const NTSTATUS status = BCryptVerifySignature(
        key.get(), nullptr, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
        const_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()), 0);
    if (Succeeded(status)) {
        return EcdsaResult::Valid;
    }
    return status == static_cast<NTSTATUS>(0xC000A000L) // STATUS_INVALID_SIGNATURE
               ? EcdsaResult::Invalid
               : EcdsaResult::SystemError;
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

} // namespace hovrel::windows
