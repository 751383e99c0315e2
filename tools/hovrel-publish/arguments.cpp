#include "arguments.h"

namespace hovrel::publish {

Arguments ParseArguments(int argc, char** argv, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
    Arguments arguments;
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            arguments.positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        const std::size_t equals = name.find('=');
        const bool hasInline = equals != std::string::npos;
        if (hasInline) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        bool known = false;
        for (const std::string& flag : flags) {
            if (flag == name) {
                if (hasInline) {
                    Fail("--" + name + " takes no value");
                }
                arguments.flags[name] = true;
                known = true;
            }
        }
        for (const std::string& option : valued) {
            if (option == name) {
                if (!hasInline) {
                    if (i + 1 >= argc) {
                        Fail("--" + name + " needs a value");
                    }
                    value = argv[++i];
                }
                if (!arguments.values.emplace(name, value).second) {
                    Fail("--" + name + " given twice");
                }
                known = true;
            }
        }
        if (!known) {
            Fail("unknown option --" + name + " for " + argv[1]);
        }
    }
    return arguments;
}

const std::string& OnePositional(const Arguments& arguments, const char* what) {
    if (arguments.positional.size() != 1) {
        Fail(std::string("give exactly one ") + what + "; see hovrel-publish --help");
    }
    return arguments.positional[0];
}

} // namespace hovrel::publish
