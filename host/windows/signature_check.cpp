#include "signature_check.h"

#include "built_in_keys.h"
#include "windows_support.h"

#include <cstdio>
#include <memory>

namespace hovrel::windows {

namespace {

using namespace hovrel::authenticity;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A key file is small; anything past 64 KiB is not one.
bool ReadKeyFile(const std::wstring& path, std::string& text) {
    std::unique_ptr<std::FILE, FileClose> file(_wfopen(path.c_str(), L"rb"));
    if (!file) {
        return false;
    }
    char buffer[65536];
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
    text.assign(buffer, count);
    return !std::ferror(file.get());
}

} // namespace

bool LoadTrustedKeys(const std::vector<std::wstring>& values, std::vector<TrustedKey>& keys,
                     std::string& error) {
    keys.clear();
    for (const std::wstring& value : values) {
        std::string text;
        if (!WideToUtf8(value, text)) {
            error = "--public-key: the value is not valid text";
            return false;
        }
        TrustedKey key{text, {}};
        KeyProblem problem = ReadPublicKeyText(text, key.point);
        if (problem == KeyProblem::NotPublicKeyText) {
            std::string contents;
            if (!ReadKeyFile(value, contents)) {
                error = "--public-key " + text + ": no such key file, and not a one-line key";
                return false;
            }
            problem = ReadPublicKeyText(contents, key.point);
        } else {
            // Every P-256 key's one-line form starts alike; its end tells keys apart.
            key.source = "the one-line key ending in " + text.substr(text.size() - 12);
        }
        if (problem != KeyProblem::None) {
            error = "--public-key " + text + ": " + KeyProblemText(problem);
            return false;
        }
        keys.push_back(key);
    }
    std::size_t number = 0;
    for (const char* const* builtIn = kBuiltInPublicKeys; *builtIn != nullptr; ++builtIn) {
        TrustedKey key{"built-in key " + std::to_string(++number), {}};
        const KeyProblem problem = ReadPublicKeyText(*builtIn, key.point);
        if (problem != KeyProblem::None) {
            error = key.source + " of this host: " + KeyProblemText(problem);
            return false;
        }
        keys.push_back(key);
    }
    return true;
}

SignatureVerdict VerifyManifestSignature(const std::string& manifest, const std::string& signature,
                                         const std::vector<TrustedKey>& keys, std::size_t& index) {
    RawSignature raw{};
    if (!DerSignatureToRaw(reinterpret_cast<const std::uint8_t*>(signature.data()),
                           signature.size(), raw)) {
        return SignatureVerdict::Malformed;
    }
    std::array<std::uint8_t, 32> digest{};
    if (!Sha256(manifest, digest)) {
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
