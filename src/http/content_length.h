#pragma once

#include <cstddef>
#include <cstdint>

namespace hovrel {

// Reads a Content-Length header value given as text. Only decimal digits are
// accepted, with optional spaces or tabs around them; the value must fit in
// 64 bits. Anything else (empty, signed, embedded blanks, overflow) yields 0,
// which callers treat as "no length announced".
std::uint64_t ParseContentLength(const wchar_t* text, std::size_t length);

} // namespace hovrel
