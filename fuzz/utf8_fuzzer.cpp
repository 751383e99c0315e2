#include "utf8.h"

#include <cstdlib>
#include <cstring>
#include <string>

using hovrel::common::Utf8ToWide;
using hovrel::common::WideToUtf8;

// UTF-8 has one encoding per code point sequence: text that converts must
// come back byte for byte, and so must wide text read from the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::wstring wide;
    if (Utf8ToWide(text, wide)) {
        std::string back;
        if (!WideToUtf8(wide, back) || back != text) {
            std::abort();
        }
    }
    std::wstring raw(size / sizeof(wchar_t), L'\0');
    std::memcpy(raw.data(), data, raw.size() * sizeof(wchar_t));
    std::string encoded;
    if (WideToUtf8(raw, encoded)) {
        std::wstring back;
        if (!Utf8ToWide(encoded, back) || back != raw) {
            std::abort();
        }
    }
    return 0;
}
