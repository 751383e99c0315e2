#include "keys.h"

#include "arguments.h"
#include "failure.h"
#include "files.h"
#include "openssl_owners.h"

#include "library_limits.h"
#include "manifest_terms.h"
#include "signature_encoding.h"

#include <openssl/pem.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace hovrel::publish {

namespace {

using namespace hovrel::authenticity;

// Far more than a PEM key or a DER signature needs.
constexpr std::size_t kPublicKeyTextMaxBytes = 65536;
constexpr std::size_t kSignatureMaxBytes = 4096;

// A key must be P-256: the only kind hovrel-update verifies.
void RequireP256(EVP_PKEY* key, const std::string& path) {
    if (EVP_PKEY_get_base_id(key) != EVP_PKEY_EC) {
        const char* type = EVP_PKEY_get0_type_name(key);
        Fail("the key in " + path + " is " + (type ? type : "of an unknown type") +
             ", not P-256; make one with hovrel-publish keygen");
    }
    char curve[64] = {};
    std::size_t length = 0;
    if (!EVP_PKEY_get_group_name(key, curve, sizeof curve, &length) ||
        std::strcmp(curve, "prime256v1") != 0) {
        Fail("the key in " + path + " is on curve " + curve +
             ", not P-256; make one with hovrel-publish keygen");
    }
}

std::string PublicKeyPath(const std::string& privatePath) {
    const std::string suffix = ".pem";
    if (privatePath.size() > suffix.size() &&
        privatePath.compare(privatePath.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return privatePath.substr(0, privatePath.size() - suffix.size()) + ".pub.pem";
    }
    return privatePath + ".pub.pem";
}

UniquePkey ReadPrivateKey(const std::string& path) {
    UniqueStdioFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    UniquePkey key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
    if (!key) {
        Fail("cannot read a private key from " + path +
             " (a PEM private key without a passphrase is needed)");
    }
    Close(std::move(file), "cannot read " + path);
    RequireP256(key.get(), path);
    return key;
}

// Read through the same strict parsers as hovrel-update, so a key or a
// signature this command accepts is one the host accepts.
UniquePkey ReadPublicKey(const std::string& path) {
    PublicPoint point{};
    const KeyProblem problem =
        ReadPublicKeyText(ReadWholeFile(path, kPublicKeyTextMaxBytes), point);
    if (problem != KeyProblem::None) {
        Fail("the public key " + path + " is " + KeyProblemText(problem));
    }
    const std::vector<std::uint8_t> der = SubjectPublicKeyInfo(point);
    const unsigned char* cursor = der.data();
    UniquePkey key(d2i_PUBKEY(nullptr, &cursor, static_cast<long>(der.size())));
    if (!key) {
        Fail("the public key " + path + " is not a point on P-256");
    }
    return key;
}

// Removes the files a keygen created unless it finished: a half-made key
// would only block the next keygen, which never overwrites.
class CreatedFiles {
  public:
    CreatedFiles() = default;
    CreatedFiles(const CreatedFiles&) = delete;
    CreatedFiles& operator=(const CreatedFiles&) = delete;
    ~CreatedFiles() {
        for (const std::string& path : paths_) {
            // Already failing; there is nothing more to say.
            std::remove(path.c_str());
        }
    }

    UniqueStdioFile Create(const std::string& path, mode_t mode) {
        UniqueStdioFile file = CreateNew(path, mode);
        paths_.push_back(path);
        return file;
    }
    void Keep() { paths_.clear(); }

  private:
    std::vector<std::string> paths_;
};

} // namespace

int Keygen(int argc, char** argv) {
    const Arguments arguments = ParseArguments(Command::Keygen, argc, argv);
    if (!arguments.files.empty()) {
        Fail("keygen takes no file name but --out");
    }
    const std::string& privatePath = Required(arguments.out, "out");
    const std::string publicPath = PublicKeyPath(privatePath);
    UniquePkey key(EVP_EC_gen("P-256"));
    if (!key) {
        Fail("OpenSSL could not make a P-256 key");
    }
    unsigned char* der = nullptr;
    const int derLength = i2d_PUBKEY(key.get(), &der);
    if (derLength <= 0) {
        Fail("OpenSSL could not encode the public key");
    }
    const std::vector<std::uint8_t> spki(der, der + derLength);
    OPENSSL_free(der);

    // Both files are new; the private one is readable by its owner only.
    CreatedFiles created;
    UniqueStdioFile privateFile = created.Create(privatePath, 0600);
    UniqueStdioFile publicFile = created.Create(publicPath, 0644);
    if (!PEM_write_PrivateKey(privateFile.get(), key.get(), nullptr, nullptr, 0, nullptr,
                              nullptr)) {
        Fail("cannot write " + privatePath);
    }
    Close(std::move(privateFile), "cannot write " + privatePath);
    if (!PEM_write_PUBKEY(publicFile.get(), key.get())) {
        Fail("cannot write " + publicPath);
    }
    Close(std::move(publicFile), "cannot write " + publicPath);
    created.Keep();
    std::printf("Private key: %s (keep it secret; mode 0600)\n"
                "Public key:  %s\n"
                "For hovrel-update --public-key:\n%s\n",
                privatePath.c_str(), publicPath.c_str(), EncodeBase64(spki).c_str());
    return ExitOk;
}

int Sign(int argc, char** argv) {
    const Arguments arguments = ParseArguments(Command::Sign, argc, argv);
    const std::string& manifestPath = OnePositional(arguments, "manifest file");
    UniquePkey key = ReadPrivateKey(Required(arguments.key, "key"));
    const std::string manifest = ReadWholeFile(manifestPath, hovrel::common::kManifestMaxBytes);
    UniqueMdContext context(EVP_MD_CTX_new());
    std::size_t length = 0;
    if (!context ||
        EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &length,
                       reinterpret_cast<const unsigned char*>(manifest.data()),
                       manifest.size()) != 1) {
        Fail("OpenSSL could not sign " + manifestPath);
    }
    std::string signature(length, '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(&signature[0]), &length,
                       reinterpret_cast<const unsigned char*>(manifest.data()),
                       manifest.size()) != 1) {
        Fail("OpenSSL could not sign " + manifestPath);
    }
    signature.resize(length);
    WriteFile(manifestPath + ".sig", signature);
    std::printf("Wrote %s.sig; serve it next to the manifest.\n", manifestPath.c_str());
    return ExitOk;
}

int Verify(int argc, char** argv) {
    const Arguments arguments = ParseArguments(Command::Verify, argc, argv);
    const std::string& manifestPath = OnePositional(arguments, "manifest file");
    UniquePkey key = ReadPublicKey(Required(arguments.publicKey, "public-key"));
    const std::string manifest = ReadWholeFile(manifestPath, hovrel::common::kManifestMaxBytes);
    const std::string signaturePath = manifestPath + ".sig";
    const std::string signature = ReadWholeFile(signaturePath, kSignatureMaxBytes);
    RawSignature raw{};
    if (!DerSignatureToRaw(reinterpret_cast<const std::uint8_t*>(signature.data()),
                           signature.size(), raw)) {
        Fail(signaturePath + " is not a DER ECDSA signature", ExitInvalid);
    }
    UniqueMdContext context(EVP_MD_CTX_new());
    if (!context ||
        EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1) {
        Fail("OpenSSL could not start verifying");
    }
    // 0 is a signature that does not match; below 0 OpenSSL itself failed.
    const int verified = EVP_DigestVerify(
        context.get(), reinterpret_cast<const unsigned char*>(signature.data()), signature.size(),
        reinterpret_cast<const unsigned char*>(manifest.data()), manifest.size());
    if (verified < 0) {
        Fail("OpenSSL could not verify " + signaturePath);
    }
    if (verified != 1) {
        Fail(signaturePath + " does not verify: the manifest was changed or signed by another key",
             ExitInvalid);
    }
    TermsRequest request;
    request.now = static_cast<std::int64_t>(std::time(nullptr));
    // The library reads the manifest up to its first NUL; so do the terms.
    const TermsDecision terms = CheckManifestTerms(manifest.c_str(), request);
    if (terms.verdict != TermsVerdict::Accepted) {
        Fail("signature valid, but " + terms.reason, ExitInvalid);
    }
    std::printf("%s: signature valid\n", manifestPath.c_str());
    return ExitOk;
}

} // namespace hovrel::publish
