#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace hovrel::publish {

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileClose>;

std::string SystemError();

std::string ReadWholeFile(const std::string& path, std::size_t limit);

// Creates path with the given mode; refuses an existing file.
UniqueFile CreateNew(const std::string& path, mode_t mode);

void WriteFile(const std::string& path, const std::string& bytes);

struct FileDigest {
    std::uint64_t size = 0;
    std::string sha256;
};

// Streams the file through OpenSSL's SHA-256 in large reads; progress on a
// terminal for big files.
FileDigest HashFile(const std::string& path);

} // namespace hovrel::publish
