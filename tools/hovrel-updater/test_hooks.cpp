#include "test_hooks.h"

#include <cstdlib>

namespace hovrel::updater {

std::vector<TestKey> ReadTestKeys() {
    std::vector<TestKey> keys;
    const char* spec = std::getenv("HOVREL_UPDATER_TEST_KEYS");
    std::string rest = spec == nullptr ? "" : spec;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string entry = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        const std::size_t equals = entry.find('=');
        const std::size_t at = entry.find('@');
        if (equals == std::string::npos || at == std::string::npos || at < equals) {
            continue;
        }
        const std::string key = entry.substr(equals + 1, at - equals - 1);
        keys.push_back({entry.substr(0, equals), key == "escape" ? WPARAM{VK_ESCAPE} : VK_RETURN,
                        std::strtoull(entry.c_str() + at + 1, nullptr, 10)});
    }
    return keys;
}

} // namespace hovrel::updater
