#pragma once

// Whether a manifest's detached signature comes from a trusted key: the keys
// from --public-key and those built into this host, checked with CNG.

#include "signature_encoding.h"
#include "status.h"

#include <string>
#include <vector>

namespace hovrel::windows {

struct TrustedKey {
    std::string source; // for messages: the path, or which key it is
    authenticity::PublicPoint point;
};

// Reads each --public-key value (a file holding a PEM or one-line key, or
// the one-line key itself), then adds the built-in keys. Fails with one line
// when any of them is not a P-256 public key.
common::Result<std::vector<TrustedKey>> LoadTrustedKeys(const std::vector<std::wstring>& values);

enum class SignatureVerdict {
    Verified,    // by keys[index]
    Malformed,   // not a strict DER ECDSA signature
    NotVerified, // no key verifies it
    SystemError, // CNG could not be used
};

// Checks a DER signature over the exact bytes of manifest against each key.
SignatureVerdict VerifyManifestSignature(const std::string& manifest, const std::string& signature,
                                         const std::vector<TrustedKey>& keys, std::size_t& index);

} // namespace hovrel::windows
