#pragma once

#include "failure.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hovrel::publish {

enum class Command { Keygen, Manifest, Sign, Verify, PolicyTemplate };

// A command's words: its file names, and --name VALUE (or --name=VALUE) for
// the options it takes; an option not given is empty, one given empty is "".
struct Arguments {
    std::vector<std::string> files;
    std::optional<std::string> out, key, publicKey, version, url, rollout, expires, expiresIn,
        product, notes, minWindows, name;
    // --notes-for TAG FILE as given, in order.
    std::vector<std::pair<std::string, std::string>> notesFor;
    bool mandatory = false;
    bool noExpiry = false;
};

// The words after argv[1], which names the command; fails with one line.
Arguments ParseArguments(Command command, int argc, char** argv);

// The option's value, or a failure naming the missing --name.
const std::string& Required(const std::optional<std::string>& value, const char* name);

// --product as the registry and the manifest take it; fails with one line.
const std::string& ProductId(const std::string& product);

const std::string& OnePositional(const Arguments& arguments, const char* what);

} // namespace hovrel::publish
