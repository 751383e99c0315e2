#include "integrity/hex_digest.h"

namespace hovrel {

namespace {

constexpr char kHexAlphabet[] = "0123456789abcdef";

// Only the hex letters fold: any other upper-case letter must still mismatch.
char FoldHexLetter(char c) {
    return (c >= 'A' && c <= 'F') ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

void RenderHexDigest(const unsigned char (&digest)[32], char* out) {
    for (int i = 0; i < 32; ++i) {
        out[2 * i] = kHexAlphabet[digest[i] >> 4];
        out[2 * i + 1] = kHexAlphabet[digest[i] & 0x0F];
    }
    out[64] = '\0';
}

bool DigestMatches(const char* computed, const char* expected) {
    for (int i = 0; i < 64; ++i) {
        const char c = FoldHexLetter(computed[i]);
        const char e = FoldHexLetter(expected[i]);
        if (c != e || c == '\0') {
            return false;
        }
    }
    return true;
}

} // namespace hovrel
