#include "option_parser.h"

#include <limits>

namespace hovrel::common {

namespace {

template <typename Char>
bool ParseDigits(const std::basic_string<Char>& text, std::uint32_t& number) {
    // Ten digits hold every 32-bit number; more would overflow the sum.
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t value = 0;
    for (Char c : text) {
        if (c < Char('0') || c > Char('9')) {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - Char('0'));
    }
    if (value == 0 || value > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    number = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

std::string ShownInMessage(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string ShownInMessage(const std::string& text) {
    return text;
}

bool ParseWholeNumber(const std::wstring& text, std::uint32_t& number) {
    return ParseDigits(text, number);
}

bool ParseWholeNumber(const std::string& text, std::uint32_t& number) {
    return ParseDigits(text, number);
}

} // namespace hovrel::common
