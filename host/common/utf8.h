#pragma once

// The one conversion between UTF-8 and the platform's wide strings (UTF-16
// on Windows, UTF-32 elsewhere). Strict both ways: a malformed sequence, an
// overlong form, an encoded surrogate or a lone surrogate fails the whole
// conversion instead of turning into a replacement character.

#include <string>
#include <string_view>

namespace hovrel::common {

// On failure the output is left as it was.
bool Utf8ToWide(std::string_view text, std::wstring& wide);
bool WideToUtf8(std::wstring_view wide, std::string& text);

} // namespace hovrel::common
