#include "translation.h"

#include <cstdio>

namespace hovrel::language {

std::string NumberFormat::Decimal(double value, int decimals) const {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

namespace {

// The placeholder's number, 1 to 9, when text[i] starts one; else 0.
int PlaceholderAt(const std::string& text, std::size_t i) {
    if (i + 2 < text.size() && text[i] == '{' && text[i + 1] >= '1' && text[i + 1] <= '9' &&
        text[i + 2] == '}') {
        return text[i + 1] - '0';
    }
    return 0;
}

} // namespace

std::string Fill(const std::string& text, const std::vector<std::string>& arguments) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int number = PlaceholderAt(text, i);
        if (number > 0 && static_cast<std::size_t>(number) <= arguments.size()) {
            filled += arguments[static_cast<std::size_t>(number) - 1];
            i += 2;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

PlaceholderCount CountPlaceholders(const std::string& text) {
    PlaceholderCount count;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const int number = PlaceholderAt(text, i)) {
            ++count.counts[number - 1];
            i += 2;
        } else if (text[i] == '{' || text[i] == '}') {
            count.stray = true;
        }
    }
    return count;
}

std::string Translation::Say(const char* key, const std::vector<std::string>& arguments) const {
    const char* text = Find(table_, key);
    if (text == nullptr) {
        text = Find(English(), key);
    }
    return Fill(text == nullptr ? key : text, arguments);
}

const Translation& EnglishTranslation() {
    static const NumberFormat invariant;
    static const Translation english(English(), invariant);
    return english;
}

} // namespace hovrel::language
