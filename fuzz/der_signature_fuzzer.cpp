#include "signature_encoding.h"

#include <cstdlib>
#include <cstring>

using namespace hovrel::authenticity;

// DER has one encoding per value: whatever the parser accepts must be exactly
// the bytes it would write for the same r and s.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    RawSignature raw{};
    if (DerSignatureToRaw(data, size, raw)) {
        const std::vector<std::uint8_t> der = RawSignatureToDer(raw);
        if (der.size() != size || std::memcmp(der.data(), data, size) != 0) {
            std::abort();
        }
    }
    return 0;
}
