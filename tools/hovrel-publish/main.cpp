// hovrel-publish: makes a release's signing key, writes its manifest and
// signs it, so that hovrel-update can tell the publisher's manifest from any
// other. Signatures are ECDSA P-256 over SHA-256 in OpenSSL's DER form, so
// `openssl dgst -sha256 -sign` makes the same kind.

#include "manifest_terms.h"
#include "rfc3339.h"
#include "signature_encoding.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace hovrel::authenticity;

const char kHelp[] =
    "hovrel-publish: signs a release's update manifest for hovrel-update.\n"
    "\n"
    "Usage:\n"
    "  hovrel-publish keygen --out release-key.pem\n"
    "      A new P-256 key: the private key (PKCS#8 PEM, mode 0600) at --out, the\n"
    "      public key beside it as release-key.pub.pem; prints the public key's\n"
    "      one-line form for --public-key. Never overwrites a file.\n"
    "  hovrel-publish manifest INSTALLER --version V --url URL [--rollout N]\n"
    "      [--mandatory] [--expires TIME | --valid-for DAYS] [--product ID]\n"
    "      --out manifest.json\n"
    "      Writes the manifest with the installer's size and SHA-256. TIME is\n"
    "      RFC 3339 UTC, for example 2027-01-31T00:00:00Z.\n"
    "  hovrel-publish sign manifest.json --key release-key.pem\n"
    "      Writes manifest.json.sig, to be served next to the manifest.\n"
    "  hovrel-publish verify manifest.json --public-key release-key.pub.pem\n"
    "      Checks manifest.json.sig and the manifest's expiry.\n"
    "\n"
    "Exit codes: 0 done (verify: valid); 1 usage error or unreadable input;\n"
    "2 verify: the signature does not verify or the manifest has expired.\n";

enum Exit { ExitOk = 0, ExitUsage = 1, ExitInvalid = 2 };

// Every failure travels as one line to main.
struct Failure {
    int exitCode;
    std::string message;
};

[[noreturn]] void Fail(const std::string& message, int exitCode = ExitUsage) {
    throw Failure{exitCode, message};
}

std::string SystemError() {
    return std::strerror(errno);
}

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniquePkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using UniqueMdContext = std::unique_ptr<EVP_MD_CTX, MdContextFree>;
using UniqueFile = std::unique_ptr<std::FILE, FileClose>;

// The command's words: positional arguments and --name VALUE (or
// --name=VALUE); flags take no value.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;

    bool Has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& Value(const std::string& name) const {
        const auto found = values.find(name);
        if (found == values.end()) {
            Fail("missing --" + name + "; see hovrel-publish --help");
        }
        return found->second;
    }
};

Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
    Arguments arguments;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            arguments.positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        const std::size_t equals = name.find('=');
        const bool hasInline = equals != std::string::npos;
        if (hasInline) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        bool known = false;
        for (const std::string& flag : flags) {
            if (flag == name) {
                if (hasInline) {
                    Fail("--" + name + " takes no value");
                }
                arguments.flags[name] = true;
                known = true;
            }
        }
        for (const std::string& option : valued) {
            if (option == name) {
                if (!hasInline) {
                    if (i + 1 >= argc) {
                        Fail("--" + name + " needs a value");
                    }
                    value = argv[++i];
                }
                if (!arguments.values.emplace(name, value).second) {
                    Fail("--" + name + " given twice");
                }
                known = true;
            }
        }
        if (!known) {
            Fail("unknown option --" + name + " for " + argv[1]);
        }
    }
    return arguments;
}

const std::string& OnePositional(const Arguments& arguments, const char* what) {
    if (arguments.positional.size() != 1) {
        Fail(std::string("give exactly one ") + what + "; see hovrel-publish --help");
    }
    return arguments.positional[0];
}

std::string ReadWholeFile(const std::string& path, std::size_t limit) {
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    std::string text;
    char chunk[65536];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        text.append(chunk, count);
        if (text.size() > limit) {
            Fail(path + " is larger than " + std::to_string(limit) + " bytes");
        }
    }
    if (std::ferror(file.get())) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    return text;
}

// Creates path with the given mode; refuses an existing file.
UniqueFile CreateNew(const std::string& path, mode_t mode) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        Fail("cannot create " + path + ": " + SystemError() +
             (errno == EEXIST ? " (hovrel-publish never overwrites a key)" : ""));
    }
    UniqueFile file(fdopen(descriptor, "wb"));
    if (!file) {
        close(descriptor);
        Fail("cannot write " + path + ": " + SystemError());
    }
    return file;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    UniqueFile file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        Fail("cannot write " + path + ": " + SystemError());
    }
}

// A key must be P-256: the only kind hovrel-update verifies.
void RequireP256(EVP_PKEY* key, const std::string& path) {
    if (EVP_PKEY_get_base_id(key) != EVP_PKEY_EC) {
        Fail("the key in " + path + " is " + EVP_PKEY_get0_type_name(key) +
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

int Keygen(int argc, char** argv) {
    const Arguments arguments = ParseArguments(argc, argv, {"out"}, {});
    if (!arguments.positional.empty()) {
        Fail("keygen takes no file name but --out");
    }
    const std::string& privatePath = arguments.Value("out");
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
    UniqueFile privateFile = CreateNew(privatePath, 0600);
    UniqueFile publicFile = CreateNew(publicPath, 0644);
    if (!PEM_write_PrivateKey(privateFile.get(), key.get(), nullptr, nullptr, 0, nullptr,
                              nullptr) ||
        std::fclose(privateFile.release()) != 0) {
        Fail("cannot write " + privatePath);
    }
    if (!PEM_write_PUBKEY(publicFile.get(), key.get()) || std::fclose(publicFile.release()) != 0) {
        Fail("cannot write " + publicPath);
    }
    std::printf("Private key: %s (keep it secret; mode 0600)\n"
                "Public key:  %s\n"
                "For hovrel-update --public-key:\n%s\n",
                privatePath.c_str(), publicPath.c_str(), EncodeBase64(spki).c_str());
    return ExitOk;
}

bool IsDottedDigits(const std::string& version) {
    if (version.empty() || version.size() > 63) {
        return false;
    }
    bool digitBefore = false;
    for (char c : version) {
        if (c == '.') {
            if (!digitBefore) {
                return false;
            }
            digitBefore = false;
        } else if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else {
            return false;
        }
    }
    return digitBefore;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool ParseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoll(text);
    return value >= low && value <= high;
}

struct FileDigest {
    std::uint64_t size = 0;
    std::string sha256;
};

// Streams the file through OpenSSL's SHA-256 in large reads; progress on a
// terminal for big files.
FileDigest HashFile(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    struct stat info {};
    fstat(descriptor, &info);
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    const bool showProgress = isatty(STDERR_FILENO) && info.st_size > (64 << 20);
    UniqueMdContext context(EVP_MD_CTX_new());
    if (!context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr)) {
        close(descriptor);
        Fail("OpenSSL could not start SHA-256");
    }
    std::vector<unsigned char> buffer(1 << 20);
    FileDigest digest;
    while (true) {
        const ssize_t count = read(descriptor, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            const std::string error = SystemError();
            close(descriptor);
            Fail("cannot read " + path + ": " + error);
        }
        if (count == 0) {
            break;
        }
        EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(count));
        digest.size += static_cast<std::uint64_t>(count);
        if (showProgress && digest.size % (256u << 20) < static_cast<std::uint64_t>(count)) {
            std::fprintf(stderr, "\rHashing %s: %llu MiB", path.c_str(),
                         static_cast<unsigned long long>(digest.size >> 20));
        }
    }
    close(descriptor);
    if (showProgress) {
        std::fputs("\n", stderr);
    }
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context.get(), bytes, &length);
    static const char kHex[] = "0123456789abcdef";
    for (unsigned int i = 0; i < length; ++i) {
        digest.sha256 += kHex[bytes[i] >> 4];
        digest.sha256 += kHex[bytes[i] & 15];
    }
    return digest;
}

int Manifest(int argc, char** argv) {
    const Arguments arguments = ParseArguments(
        argc, argv, {"version", "url", "rollout", "expires", "valid-for", "product", "out"},
        {"mandatory"});
    const std::string& installer = OnePositional(arguments, "installer file");
    const std::string& version = arguments.Value("version");
    const std::string& url = arguments.Value("url");
    const std::string& out = arguments.Value("out");
    if (!IsDottedDigits(version)) {
        Fail("--version " + version + " is not dotted digits such as 2.1.0");
    }
    if ((url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) || url.size() > 1023) {
        Fail("--url must be an http:// or https:// address of at most 1023 bytes");
    }
    long long rollout = 100;
    if (arguments.Has("rollout") && !ParseWhole(arguments.Value("rollout"), 0, 100, rollout)) {
        Fail("--rollout must be a whole number from 0 to 100");
    }
    if (arguments.Has("expires") && arguments.Has("valid-for")) {
        Fail("give --expires or --valid-for, not both");
    }
    std::string expires;
    if (arguments.Has("expires")) {
        std::int64_t ignored = 0;
        expires = arguments.Value("expires");
        if (!ParseRfc3339Utc(expires, ignored)) {
            Fail("--expires " + expires +
                 " is not an RFC 3339 UTC time such as "
                 "2027-01-31T00:00:00Z");
        }
    } else if (arguments.Has("valid-for")) {
        long long days = 0;
        if (!ParseWhole(arguments.Value("valid-for"), 1, 36500, days)) {
            Fail("--valid-for must be a whole number of days from 1 to 36500");
        }
        expires = FormatRfc3339Utc(static_cast<std::int64_t>(std::time(nullptr)) + days * 86400);
    }
    std::string product;
    if (arguments.Has("product")) {
        product = arguments.Value("product");
        if (product.empty() || product.size() > 64 ||
            product.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                      "0123456789.-_") != std::string::npos) {
            Fail("--product must be 1 to 64 letters, digits, dots, dashes or underscores");
        }
    }
    const FileDigest digest = HashFile(installer);
    std::string text =
        "{\n  \"version\": " + JsonString(version) + ",\n  \"url\": " + JsonString(url) +
        ",\n  \"sha256\": \"" + digest.sha256 + "\",\n  \"size\": " + std::to_string(digest.size) +
        ",\n  \"rollout\": " + std::to_string(rollout) +
        ",\n  \"mandatory\": " + (arguments.flags.count("mandatory") ? "true" : "false");
    if (!expires.empty()) {
        text += ",\n  \"expires\": " + JsonString(expires);
    }
    if (!product.empty()) {
        text += ",\n  \"product\": " + JsonString(product);
    }
    text += "\n}\n";
    WriteFile(out, text);
    std::printf("Wrote %s: version %s, %llu bytes, SHA-256 %s\n", out.c_str(), version.c_str(),
                static_cast<unsigned long long>(digest.size), digest.sha256.c_str());
    return ExitOk;
}

UniquePkey ReadPrivateKey(const std::string& path) {
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    UniquePkey key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
    if (!key) {
        Fail("cannot read a private key from " + path +
             " (a PEM private key without a passphrase is needed)");
    }
    RequireP256(key.get(), path);
    return key;
}

int Sign(int argc, char** argv) {
    const Arguments arguments = ParseArguments(argc, argv, {"key"}, {});
    const std::string& manifestPath = OnePositional(arguments, "manifest file");
    UniquePkey key = ReadPrivateKey(arguments.Value("key"));
    const std::string manifest = ReadWholeFile(manifestPath, 65536);
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

// Read through the same strict parsers as hovrel-update, so a key or a
// signature this command accepts is one the host accepts.
UniquePkey ReadPublicKey(const std::string& path) {
    PublicPoint point{};
    const KeyProblem problem = ReadPublicKeyText(ReadWholeFile(path, 65536), point);
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

int Verify(int argc, char** argv) {
    const Arguments arguments = ParseArguments(argc, argv, {"public-key"}, {});
    const std::string& manifestPath = OnePositional(arguments, "manifest file");
    UniquePkey key = ReadPublicKey(arguments.Value("public-key"));
    const std::string manifest = ReadWholeFile(manifestPath, 65536);
    const std::string signaturePath = manifestPath + ".sig";
    const std::string signature = ReadWholeFile(signaturePath, 4096);
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
    if (EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                         signature.size(), reinterpret_cast<const unsigned char*>(manifest.data()),
                         manifest.size()) != 1) {
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

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "keygen") {
        return Keygen(argc, argv);
    }
    if (command == "manifest") {
        return Manifest(argc, argv);
    }
    if (command == "sign") {
        return Sign(argc, argv);
    }
    if (command == "verify") {
        return Verify(argc, argv);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return ExitOk;
    }
    Fail(command.empty() ? "no command given (keygen, manifest, sign or verify); see --help"
                         : "unknown command " + command + "; see hovrel-publish --help");
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "hovrel-publish: %s\n", failure.message.c_str());
        return failure.exitCode;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hovrel-publish: %s\n", error.what());
        return ExitUsage;
    }
}
