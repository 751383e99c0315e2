#pragma once

#include "status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hovrel::road {

enum class Command { Help, Check, Download, Install, Update, Status, Apply };

struct Options {
    Command command = Command::Help;
    std::wstring manifestUrl;
    std::wstring installedVersion;
    std::wstring outPath;             // empty: a private folder of the run's own
    std::wstring installerArgs;       // empty: the library's silent switches
    std::wstring machineId;           // empty: the computer name
    std::uint32_t timeoutSeconds = 0; // 0: no time limit
    bool yes = false;
    std::vector<std::wstring> publicKeys; // --public-key, each a path or a one-line key
    std::wstring product;                 // empty: any product
    bool allowUnsigned = false;
    bool requireExpiry = false;           // refuse a manifest without "expires"
    bool keep = false;                    // leave the private folder in place
    bool elevate = false;                 // start the installer through "runas"
    std::vector<std::wstring> publishers; // Authenticode signer names accepted
    std::string publisherThumbprint;      // lower-case hex SHA-256, or empty
    std::uint32_t waitPid = 0;            // 0: start the installer at once
    bool automatic = false;               // --auto: only when a check is due
    std::uint32_t intervalHours = 0;      // 0: not given (the default, 24)
    std::wstring channel;                 // empty: not given
    bool reset = false;                   // status --reset: delete the user's state
    bool background = false;              // update --background: stage, install nothing
    std::wstring relaunchPath;            // started as the user after a successful install
    std::wstring relaunchArgs;
    // The network's limits.
    std::uint32_t fetchTimeoutSeconds = 60;  // each fetch of the manifest or its signature
    std::uint32_t minRate = 4096;            // bytes a second over the window; 0: no floor
    std::uint32_t minRateWindowSeconds = 60; // the span --min-rate is averaged over
    std::uint32_t retries = 3;               // after a network failure; 0: none
    std::wstring signatureUrl;               // empty: beside the manifest's path
    // The window's own options.
    bool quietIfCurrent = false; // no window unless an update applies
    std::wstring displayName;    // the product's name on the pages
    std::string language;        // --language: a BCP 47 tag; empty: the user's
    // Whose release notes ("notes.<tag>") the window shows, best first; the
    // window sets them from its language, and without them only "notes".
    std::vector<std::string> notesLanguages;
};

// Which program parses: the window takes three options of its own.
enum class Program { Console, Window };

// Parses the arguments after the program name. "--help" (or -h, /?) stops
// the parse and yields Command::Help.
common::Result<Options> ParseCommandLine(const std::vector<std::wstring>& arguments,
                                         Program program = Program::Console);

} // namespace hovrel::road
