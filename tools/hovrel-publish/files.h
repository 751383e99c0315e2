#pragma once

#include "handles.h"

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace hovrel::publish {

std::string SystemError();

std::string ReadWholeFile(const std::string& path, std::size_t limit);

// Creates path with the given mode; refuses an existing file.
UniqueStdioFile CreateNew(const std::string& path, mode_t mode);

// Closes file; a failure is "failure: the system's reason".
void Close(UniqueStdioFile file, const std::string& failure);

void WriteFile(const std::string& path, const std::string& bytes);

struct FileDigest {
    std::uint64_t size = 0;
    std::string sha256;
};

// Streams the file through OpenSSL's SHA-256 in large reads; progress on a
// terminal for big files.
FileDigest HashFile(const std::string& path);

} // namespace hovrel::publish
