#include "utf8.h"

#include <cstdint>

namespace hovrel::common {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// One code point from text at index, which moves past it.
bool DecodeUtf8(std::string_view text, std::size_t& index, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[index]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        ++index;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - index < length) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[index + i]);
        if (!IsContinuation(byte)) {
            return false;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < minimum || code > kMaxCodePoint || IsSurrogate(code)) {
        return false;
    }
    index += length;
    return true;
}

void AppendWide(char32_t code, std::wstring& wide) {
    if (kWideIsUtf16 && code >= 0x10000) {
        code -= 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (code >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        wide += static_cast<wchar_t>(code);
    }
}

// One code point from wide at index, which moves past it.
bool DecodeWide(std::wstring_view wide, std::size_t& index, char32_t& code) {
    code = static_cast<char32_t>(static_cast<std::uint32_t>(wide[index]) &
                                 (kWideIsUtf16 ? 0xFFFFu : 0xFFFFFFFFu));
    ++index;
    if (kWideIsUtf16 && code >= 0xD800 && code <= 0xDBFF && index < wide.size()) {
        const auto low = static_cast<char32_t>(static_cast<std::uint32_t>(wide[index]) & 0xFFFFu);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++index;
        }
    }
    return code <= kMaxCodePoint && !IsSurrogate(code);
}

void AppendUtf8(char32_t code, std::string& text) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

bool Utf8ToWide(std::string_view text, std::wstring& wide) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        char32_t code = 0;
        if (!DecodeUtf8(text, index, code)) {
            return false;
        }
        AppendWide(code, out);
    }
    wide = std::move(out);
    return true;
}

bool WideToUtf8(std::wstring_view wide, std::string& text) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t index = 0; index < wide.size();) {
        char32_t code = 0;
        if (!DecodeWide(wide, index, code)) {
            return false;
        }
        AppendUtf8(code, out);
    }
    text = std::move(out);
    return true;
}

} // namespace hovrel::common
