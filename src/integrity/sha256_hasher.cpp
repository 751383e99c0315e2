#include "integrity/sha256_hasher.h"

#include <new>

#include "integrity/hex_digest.h"

namespace hovrel {

bool Sha256Hasher::Begin() {
    if (BCryptOpenAlgorithmProvider(algorithm_.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return false;
    }
    DWORD objectLength = 0;
    ULONG resultLength = 0;
    if (BCryptGetProperty(algorithm_.get(), BCRYPT_OBJECT_LENGTH,
                          reinterpret_cast<PUCHAR>(&objectLength), sizeof(objectLength),
                          &resultLength, 0) != 0) {
        return false;
    }
    try {
        hashObject_.resize(objectLength);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (BCryptCreateHash(algorithm_.get(), hash_.put(), hashObject_.data(), objectLength, nullptr,
                         0, 0) != 0) {
        return false;
    }
    ready_ = true;
    return true;
}

bool Sha256Hasher::Update(const void* data, unsigned long size) {
    if (!ready_) {
        return false;
    }
    // CNG takes a non-const pointer but does not write through it.
    return BCryptHashData(hash_.get(), static_cast<PUCHAR>(const_cast<void*>(data)), size, 0) == 0;
}

bool Sha256Hasher::Finish(char* out) {
    if (!ready_) {
        return false;
    }
    unsigned char digest[32] = {};
    if (BCryptFinishHash(hash_.get(), digest, sizeof(digest), 0) != 0) {
        return false;
    }
    RenderHexDigest(digest, out);
    return true;
}

} // namespace hovrel
