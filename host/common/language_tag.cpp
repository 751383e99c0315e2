#include "language_tag.h"

#include <cstddef>

namespace hovrel::common {

namespace {

// ASCII only: a locale's idea of a letter must not widen the form.
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool AllOf(const std::string& text, bool (*test)(char)) {
    for (char c : text) {
        if (!test(c)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> CanonicalLanguageTag(const std::string& tag) {
    std::string subtags[3];
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dash = tag.find('-', start);
        if (count == 3) {
            return std::nullopt;
        }
        subtags[count++] = tag.substr(start, dash == std::string::npos ? dash : dash - start);
        if (dash == std::string::npos) {
            break;
        }
        start = dash + 1;
    }
    std::string& language = subtags[0];
    if (language.size() < 2 || language.size() > 3 || !AllOf(language, IsLetter)) {
        return std::nullopt;
    }
    std::string canonical;
    for (char c : language) {
        canonical += Lower(c);
    }
    std::size_t next = 1;
    if (next < count && subtags[next].size() == 4 && AllOf(subtags[next], IsLetter)) {
        canonical += '-';
        canonical += Upper(subtags[next][0]);
        for (std::size_t i = 1; i < 4; ++i) {
            canonical += Lower(subtags[next][i]);
        }
        ++next;
    }
    if (next < count) {
        const std::string& region = subtags[next];
        const bool letters = region.size() == 2 && AllOf(region, IsLetter);
        const bool digits = region.size() == 3 && AllOf(region, IsDigit);
        if (!letters && !digits) {
            return std::nullopt;
        }
        canonical += '-';
        for (char c : region) {
            canonical += Upper(c);
        }
        ++next;
    }
    if (next != count) {
        return std::nullopt;
    }
    return canonical;
}

} // namespace hovrel::common
