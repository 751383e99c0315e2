#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hovrel_update {

enum class Command { Help, Check, Download, Install, Update };

struct Options {
    Command command = Command::Help;
    std::wstring manifestUrl;
    std::wstring installedVersion;
    std::wstring outPath;             // empty: the default package path
    std::wstring installerArgs;       // empty: the library's silent switches
    std::wstring machineId;           // empty: the computer name
    std::uint32_t timeoutSeconds = 0; // 0: no time limit
    bool yes = false;
    std::vector<std::wstring> publicKeys; // --public-key, each a path or a one-line key
    std::wstring product;                 // empty: any product
    bool allowUnsigned = false;
};

struct ParsedCommandLine {
    bool ok = false;
    Options options;
    std::string error; // why the command line was refused, when !ok
};

// Parses the arguments after the program name. "--help" (or -h, /?) stops
// the parse and yields Command::Help.
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

} // namespace hovrel_update
