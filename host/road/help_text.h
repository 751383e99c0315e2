#pragma once

// The help texts of hovrel-update and hovrel-updater, which share their
// commands, options, rules and exit codes.

#include <string>

namespace hovrel_update {

std::string ConsoleHelp();
std::string WindowHelp();

} // namespace hovrel_update
