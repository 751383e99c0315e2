#pragma once

// Strict readers of the two encodings a signed manifest involves: the DER
// ECDSA signature OpenSSL writes, and the P-256 public key in the PEM
// SubjectPublicKeyInfo form `openssl pkey -pubout` writes (or its one-line
// base64 body). Only the one canonical encoding of each is accepted.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hovrel::authenticity {

// r then s, 32 bytes each, big-endian: what CNG verifies.
using RawSignature = std::array<std::uint8_t, 64>;
// The key's X then Y coordinates, 32 bytes each, big-endian.
using PublicPoint = std::array<std::uint8_t, 64>;

// SEQUENCE { INTEGER r, INTEGER s } in DER: minimal lengths, at most one
// leading zero byte (and only before a set high bit), r and s non-zero and at
// most 32 bytes, nothing trailing.
bool DerSignatureToRaw(const std::uint8_t* der, std::size_t size, RawSignature& raw);

// The minimal DER of raw, as OpenSSL writes it.
std::vector<std::uint8_t> RawSignatureToDer(const RawSignature& raw);

// Standard alphabet, padded, no whitespace, unused bits zero.
bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& bytes);
std::string EncodeBase64(const std::vector<std::uint8_t>& bytes);

enum class KeyProblem {
    None,
    NotPublicKeyText, // neither a PEM public key nor one line of base64
    NotEcKey,         // another algorithm, RSA for example
    NotP256,          // an EC key on another curve
    NotUncompressed,  // a compressed or otherwise encoded point
    Malformed,        // not a well-formed SubjectPublicKeyInfo
};

// One line naming the problem, for messages.
const char* KeyProblemText(KeyProblem problem);

KeyProblem ParseSubjectPublicKeyInfo(const std::uint8_t* der, std::size_t size, PublicPoint& point);

// "-----BEGIN PUBLIC KEY-----" ... "-----END PUBLIC KEY-----" with 64-column
// lines, or the body on one line; surrounding whitespace is ignored.
KeyProblem ReadPublicKeyText(const std::string& text, PublicPoint& point);

// The SubjectPublicKeyInfo DER of point; its base64 is the one-line form.
std::vector<std::uint8_t> SubjectPublicKeyInfo(const PublicPoint& point);

} // namespace hovrel::authenticity
