#pragma once

#include <vector>

#include "interface/platform_handles.h"

namespace hovrel {

// Streaming SHA-256 over the system's CNG provider, for the length of one
// call. Members are declared so that they go in the order the provider
// needs: the hash first, then the provider that made it, then the memory the
// hash object lives in.
class Sha256Hasher {
  public:
    Sha256Hasher() = default;
    Sha256Hasher(const Sha256Hasher&) = delete;
    Sha256Hasher& operator=(const Sha256Hasher&) = delete;

    // Opens the provider and creates the hash. Whatever was opened before a
    // failure stays owned here and is released with the hasher.
    bool Begin();

    // Feeds data; false when the hash was never created or the provider fails.
    bool Update(const void* data, unsigned long size);

    // Writes the 64-character lower-case digest and a NUL into out (65
    // bytes). On failure out is left as it was.
    bool Finish(char* out);

    bool ready() const { return ready_; }

  private:
    std::vector<unsigned char> hashObject_;
    UniqueAlgorithm algorithm_;
    UniqueHash hash_;
    bool ready_ = false;
};

} // namespace hovrel
