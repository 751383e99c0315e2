#include "http/content_length.h"

#include <limits>

namespace hovrel {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

std::uint64_t ParseContentLength(const wchar_t* text, std::size_t length) {
    if (text == nullptr) {
        return 0;
    }
    std::size_t begin = 0;
    std::size_t end = length;
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        return 0;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const wchar_t c = text[i];
        if (c < L'0' || c > L'9') {
            return 0;
        }
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (kMax - digit) / 10) {
            return 0;
        }
        value = value * 10 + digit;
    }
    return value;
}

} // namespace hovrel
