#include "manifest/manifest_scanner.h"

#include <cstring>

namespace hovrel {

namespace {

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

char Unescape(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return c;
    }
}

} // namespace

std::uint64_t ManifestScanner::FindTopLevelValue(const std::string& text, const char* key) {
    const std::uint64_t length = text.size();
    const std::size_t keyLength = std::strlen(key);
    if (length == 0) {
        return kNotFound;
    }
    // 64-bit so that no text that fits in memory can overflow it.
    std::int64_t depth = 0;
    bool inSkippedString = false;
    bool escapePending = false;
    std::uint64_t i = 0;
    while (i < length) {
        const char c = text[i];
        if (inSkippedString) {
            if (escapePending) {
                escapePending = false;
            } else if (c == '\\') {
                escapePending = true;
            } else if (c == '"') {
                inSkippedString = false;
            }
            ++i;
            continue;
        }
        if (c == '"') {
            if (depth != 1) {
                inSkippedString = true;
                ++i;
                continue;
            }
            std::uint64_t j = i + 1;
            bool keyEscape = false;
            while (j < length) {
                const char k = text[j];
                if (keyEscape) {
                    keyEscape = false;
                } else if (k == '\\') {
                    keyEscape = true;
                } else if (k == '"') {
                    break;
                }
                ++j;
            }
            const bool matches =
                j - (i + 1) == keyLength && text.compare(i + 1, keyLength, key, keyLength) == 0;
            std::uint64_t p = j + 1;
            while (p < length && IsWhitespace(text[p])) {
                ++p;
            }
            if (p < length && text[p] == ':') {
                ++p;
                while (p < length && IsWhitespace(text[p])) {
                    ++p;
                }
                if (matches) {
                    return p;
                }
            }
            i = j + 1;
            continue;
        }
        if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
        ++i;
    }
    return kNotFound;
}

bool ManifestScanner::ReadStringValue(const std::string& text, const char* key, std::string& out) {
    const std::uint64_t position = FindTopLevelValue(text, key);
    if (position == kNotFound || position >= text.size() || text[position] != '"') {
        return false;
    }
    out.clear();
    bool escapePending = false;
    for (std::uint64_t i = position + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (escapePending) {
            out.push_back(Unescape(c));
            escapePending = false;
        } else if (c == '\\') {
            escapePending = true;
        } else if (c == '"') {
            return true;
        } else {
            out.push_back(c);
        }
    }
    return false;
}

} // namespace hovrel
