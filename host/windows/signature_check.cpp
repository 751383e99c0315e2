#include "signature_check.h"

#include "built_in_keys.h"
#include "handles.h"
#include "sha256.h"
#include "utf8.h"
#include "windows_support.h"

#include <cstdio>

namespace hovrel::windows {

namespace {

using namespace hovrel::authenticity;

// A key file is small; anything past 64 KiB is not one.
bool ReadKeyFile(const std::wstring& path, std::string& text) {
    UniqueStdioFile file(_wfopen(path.c_str(), L"rb"));
    if (!file) {
        return false;
    }
    char buffer[65536];
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
    text.assign(buffer, count);
    return !std::ferror(file.get());
}

} // namespace

common::Result<std::vector<TrustedKey>> LoadTrustedKeys(const std::vector<std::wstring>& values) {
    using Keys = common::Result<std::vector<TrustedKey>>;
    std::vector<TrustedKey> keys;
    for (const std::wstring& value : values) {
        std::string text;
        if (!common::WideToUtf8(value, text)) {
            return Keys::Failure("--public-key: the value is not valid text");
        }
        TrustedKey key{text, {}};
        KeyProblem problem = ReadPublicKeyText(text, key.point);
        if (problem == KeyProblem::NotPublicKeyText) {
            std::string contents;
            if (!ReadKeyFile(value, contents)) {
                return Keys::Failure("--public-key " + text +
                                     ": no such key file, and not a one-line key");
            }
            problem = ReadPublicKeyText(contents, key.point);
        } else {
            // Every P-256 key's one-line form starts alike; its end tells keys apart.
            key.source = "the one-line key ending in " + text.substr(text.size() - 12);
        }
        if (problem != KeyProblem::None) {
            return Keys::Failure("--public-key " + text + ": " + KeyProblemText(problem));
        }
        if (!CngAcceptsP256Point(key.point)) {
            return Keys::Failure("--public-key " + text +
                                 ": Windows refuses the key: its point is not on the P-256 curve");
        }
        keys.push_back(key);
    }
    std::size_t number = 0;
    for (const char* const* builtIn = kBuiltInPublicKeys; *builtIn != nullptr; ++builtIn) {
        TrustedKey key{"built-in key " + std::to_string(++number), {}};
        const KeyProblem problem = ReadPublicKeyText(*builtIn, key.point);
        if (problem != KeyProblem::None) {
            return Keys::Failure(key.source + " of this host: " + KeyProblemText(problem));
        }
        if (!CngAcceptsP256Point(key.point)) {
            return Keys::Failure(key.source + " of this host: its point is not on the P-256 curve");
        }
        keys.push_back(key);
    }
    return keys;
}

SignatureVerdict VerifyManifestSignature(const std::string& manifest, const std::string& signature,
                                         const std::vector<TrustedKey>& keys, std::size_t& index) {
    RawSignature raw{};
    if (!DerSignatureToRaw(reinterpret_cast<const std::uint8_t*>(signature.data()),
                           signature.size(), raw)) {
        return SignatureVerdict::Malformed;
    }
    common::Sha256Digest digest{};
    if (!common::Sha256(manifest, digest)) {
        return SignatureVerdict::SystemError;
    }
    for (index = 0; index < keys.size(); ++index) {
        switch (VerifyEcdsaP256(keys[index].point, digest, raw)) {
        case EcdsaResult::Valid:
            return SignatureVerdict::Verified;
        case EcdsaResult::SystemError:
            return SignatureVerdict::SystemError;
        case EcdsaResult::Invalid:
            break;
        }
    }
    return SignatureVerdict::NotVerified;
}

} // namespace hovrel::windows
