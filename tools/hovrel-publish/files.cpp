#include "files.h"

#include "failure.h"
#include "openssl_owners.h"

#include <openssl/evp.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace hovrel::publish {

std::string SystemError() {
    return std::strerror(errno);
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

} // namespace hovrel::publish
