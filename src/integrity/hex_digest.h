#pragma once

namespace hovrel {

// Size of a rendered digest: 64 lower-case hex characters and a NUL.
constexpr int kHexDigestSize = 65;

// Writes the 32 digest bytes as 64 lower-case hex characters, high nibble
// first, followed by a NUL, into out (at least kHexDigestSize bytes).
void RenderHexDigest(const unsigned char (&digest)[32], char* out);

// Compares a computed hex digest with the caller's expected text over 64
// characters, folding only 'A'..'F' to lower case. Reading stops at the first
// mismatch, so a short expected text is never read past its NUL, and nothing
// after the 64th character is read.
bool DigestMatches(const char* computed, const char* expected);

} // namespace hovrel
