#include "windows_support.h"

#include "handles.h"
#include "policy.h"
#include "sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

// The public blob: its header, then X and Y.
bool ImportP256Point(BCRYPT_ALG_HANDLE algorithm, const std::array<std::uint8_t, 64>& point,
                     UniqueKey& key) {
    std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + 64> blob{};
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, point.data(), point.size());
    return Succeeded(BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, key.put(),
                                         blob.data(), static_cast<ULONG>(blob.size()), 0));
}

} // namespace

bool CngAcceptsP256Point(const std::array<std::uint8_t, 64>& point) {
    UniqueAlgorithm algorithm;
    UniqueKey key;
    return Succeeded(BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_ECDSA_P256_ALGORITHM,
                                                 nullptr, 0)) &&
           ImportP256Point(algorithm.get(), point, key);
}

EcdsaResult VerifyEcdsaP256(const std::array<std::uint8_t, 64>& point,
                            const std::array<std::uint8_t, 32>& digest,
                            const std::array<std::uint8_t, 64>& signature) {
    UniqueAlgorithm algorithm;
    if (!Succeeded(BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_ECDSA_P256_ALGORITHM,
                                               nullptr, 0))) {
        return EcdsaResult::SystemError;
    }
    UniqueKey key;
    // Keys were checked when loaded; a point refused now verifies nothing.
    if (!ImportP256Point(algorithm.get(), point, key)) {
        return EcdsaResult::Invalid;
    }
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
    common::Sha256Digest digest{};
    if (!common::Sha256(RolloutInput(machineId, manifestVersion), digest)) {
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
