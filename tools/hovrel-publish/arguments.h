#pragma once

#include "failure.h"

#include <map>
#include <string>
#include <vector>

namespace hovrel::publish {

// The command's words: positional arguments and --name VALUE (or
// --name=VALUE); flags take no value.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;

    bool Has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& Value(const std::string& name) const {
        const auto found = values.find(name);
        if (found == values.end()) {
            Fail("missing --" + name + "; see hovrel-publish --help");
        }
        return found->second;
    }
};

Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags);

const std::string& OnePositional(const Arguments& arguments, const char* what);

} // namespace hovrel::publish
