#pragma once

// Portable pieces of the install road: the package's file name, taken from
// its URL, its kind, taken from its first bytes, and the msiexec command line
// for an MSI package.

#include <cstddef>
#include <string>

namespace hovrel::road {

// A safe Windows file name from the URL's last path segment: the query and
// fragment dropped, forbidden characters replaced, trailing dots and spaces
// cut, reserved device names prefixed, the length capped with the extension
// kept, bidirectional controls dropped. A name without a dot gets ".exe", an
// empty one is "package.exe".
std::wstring PackageFileName(const std::wstring& url);

enum class PackageKind { Unknown, Program, Msi };

// An MSI starts with the compound file signature, a program with "MZ";
// nothing else is started.
PackageKind KindOfPackage(const unsigned char* bytes, std::size_t size);

// The path with the extension of its kind: kept when it has it (in any case),
// swapped when it has the other kind's, added otherwise.
std::wstring PathForKind(const std::wstring& path, PackageKind kind);

// msiexec's arguments for a silent install of the package, logging beside
// it, followed by the caller's extra arguments when there are any.
std::wstring MsiexecArguments(const std::wstring& packagePath, const std::wstring& extra);

// Where msiexec writes its log for that package.
std::wstring MsiexecLogPath(const std::wstring& packagePath);

} // namespace hovrel::road
