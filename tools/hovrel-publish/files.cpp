#include "files.h"

#include "failure.h"
#include "openssl_owners.h"

#include "integrity/hex_digest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace hovrel::publish {

std::string SystemError() {
    return std::strerror(errno);
}

std::string ReadWholeFile(const std::string& path, std::size_t limit) {
    UniqueStdioFile file(std::fopen(path.c_str(), "rb"));
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
    Close(std::move(file), "cannot read " + path);
    return text;
}

UniqueStdioFile CreateNew(const std::string& path, mode_t mode) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        const bool exists = errno == EEXIST;
        Fail("cannot create " + path + ": " + SystemError() +
             (exists ? " (hovrel-publish never overwrites a key)" : ""));
    }
    UniqueStdioFile file(fdopen(descriptor, "wb"));
    if (!file) {
        const std::string error = SystemError();
        // Already failing: the descriptor only has to go.
        close(descriptor);
        Fail("cannot write " + path + ": " + error);
    }
    return file;
}

void Close(UniqueStdioFile file, const std::string& failure) {
    if (std::fclose(file.release()) != 0) {
        Fail(failure + ": " + SystemError());
    }
}

void WriteFile(const std::string& path, const std::string& bytes) {
    UniqueStdioFile file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        Fail("cannot write " + path + ": " + SystemError());
    }
    Close(std::move(file), "cannot write " + path);
}

FileDigest HashFile(const std::string& path) {
    UniqueStdioFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    const int descriptor = fileno(file.get());
    struct stat info {};
    if (fstat(descriptor, &info) != 0) {
        Fail("cannot read " + path + ": fstat: " + SystemError());
    }
    // Returns the error rather than setting errno.
    // Only advice: a pipe refuses it and is read all the same.
    (void)posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    const bool showProgress = isatty(STDERR_FILENO) && info.st_size > (64 << 20);
    UniqueMdContext context(EVP_MD_CTX_new());
    if (!context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr)) {
        Fail("OpenSSL could not start SHA-256");
    }
    std::vector<unsigned char> buffer(1 << 20);
    FileDigest digest;
    std::size_t count;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
        if (EVP_DigestUpdate(context.get(), buffer.data(), count) != 1) {
            Fail("OpenSSL could not hash " + path);
        }
        digest.size += count;
        if (showProgress && digest.size % (256u << 20) < count) {
            std::fprintf(stderr, "\rHashing %s: %llu MiB", path.c_str(),
                         static_cast<unsigned long long>(digest.size >> 20));
        }
    }
    if (std::ferror(file.get())) {
        Fail("cannot read " + path + ": " + SystemError());
    }
    Close(std::move(file), "cannot read " + path);
    if (showProgress) {
        std::fputs("\n", stderr);
    }
    unsigned char bytes[32];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), bytes, &length) != 1 || length != sizeof bytes) {
        Fail("OpenSSL could not finish the SHA-256 of " + path);
    }
    char hex[kHexDigestSize];
    RenderHexDigest(bytes, hex);
    digest.sha256 = hex;
    return digest;
}

} // namespace hovrel::publish
