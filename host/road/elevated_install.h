#pragma once

// The command line an unelevated host gives itself, started elevated, to
// install the package it verified: the install command over the same
// manifest, keys and package path, without questions. The elevated run
// checks the manifest and the package again itself, then runs the installer
// from a copy only administrators can change.

#include "options.h"

#include <string>

namespace hovrel::road {

std::wstring ElevatedInstallArguments(const Options& options, const std::wstring& packagePath);

// One argument written so that CommandLineToArgvW reads it back unchanged.
std::wstring QuotedArgument(const std::wstring& argument);

} // namespace hovrel::road
