#pragma once

// --relaunch: the app started again after its update, as the user and never
// with the installer's administrator rights.

#include "status.h"

#include <string>

namespace hovrel::windows {

// Starts `program` with `arguments` and does not wait for it. An elevated
// host starts it with the token of the user's shell (the desktop's
// Explorer), so it runs unelevated; with no shell to take it from it starts
// nothing rather than start it elevated.
common::Status StartAsUser(const std::wstring& program, const std::wstring& arguments);

} // namespace hovrel::windows
