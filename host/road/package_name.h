#pragma once

// Portable pieces of the install road: the package's file name, taken from
// its URL, and the msiexec command line for an .msi package.

#include <string>

namespace hovrel::road {

// A safe Windows file name from the URL's last path segment: the query and
// fragment dropped, forbidden characters replaced, trailing dots and spaces
// cut, reserved device names prefixed, the length capped with the extension
// kept. A name without a dot gets ".exe", an empty one is "package.exe".
std::wstring PackageFileName(const std::wstring& url);

// True when the path's file name ends in ".msi", in any case.
bool IsMsiPackage(const std::wstring& path);

// msiexec's arguments for a silent install of the package, logging beside
// it, followed by the caller's extra arguments when there are any.
std::wstring MsiexecArguments(const std::wstring& packagePath, const std::wstring& extra);

// Where msiexec writes its log for that package.
std::wstring MsiexecLogPath(const std::wstring& packagePath);

} // namespace hovrel::road
