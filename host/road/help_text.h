#pragma once

// The help texts of hovrel-update and hovrel-updater, which share their
// commands, options, rules and exit codes.

#include <string>

namespace hovrel::road {

std::string ConsoleHelp();
std::string WindowHelp();

} // namespace hovrel::road
