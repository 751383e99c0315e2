// The one UTF-8 conversion, natively (32-bit wchar_t) and under Wine (UTF-16).

#include "utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using hovrel::common::Utf8ToWide;
using hovrel::common::WideToUtf8;

TEST(Utf8, RoundTripsEveryPlane) {
    const struct {
        const char* utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"http://h/a", L"http://h/a"},
        {"Zo\xC3\xAB", L"Zo\u00EB"},
        {"\xE2\x82\xAC 5", L"\u20AC 5"},
        {"\xEF\xBF\xBF", L"\uFFFF"},
        {"\xF0\x9F\x98\x80!", L"\U0001F600!"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const auto& c : cases) {
        std::wstring wide;
        ASSERT_TRUE(Utf8ToWide(c.utf8, wide)) << c.utf8;
        EXPECT_EQ(wide, c.wide) << c.utf8;
        std::string text;
        ASSERT_TRUE(WideToUtf8(c.wide, text)) << c.utf8;
        EXPECT_EQ(text, c.utf8);
    }
}

TEST(Utf8, RefusesMalformedTextAndLeavesTheOutput) {
    const char* const invalid[] = {
        "\xFF",             // never a lead byte
        "\x80",             // a continuation first
        "a\xC3",            // cut short at the end
        "\xC3(",            // a lead without its continuation
        "\xC0\xAF",         // overlong '/'
        "\xE0\x80\xAF",     // overlong again
        "\xF0\x80\x80\xAF", // and again
        "\xED\xA0\x80",     // an encoded surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xF8\x88\x80\x80\x80",
    };
    for (const char* text : invalid) {
        std::wstring wide = L"kept";
        EXPECT_FALSE(Utf8ToWide(text, wide)) << testing::PrintToString(text);
        EXPECT_EQ(wide, L"kept");
    }
    const std::wstring loneHigh(1, static_cast<wchar_t>(0xD800));
    const std::wstring loneLow = L"a" + std::wstring(1, static_cast<wchar_t>(0xDC00));
    for (const std::wstring& wide : {loneHigh, loneLow, loneHigh + L"b"}) {
        std::string text = "kept";
        EXPECT_FALSE(WideToUtf8(wide, text));
        EXPECT_EQ(text, "kept");
    }
}

TEST(Utf8, KeepsEmbeddedNuls) {
    std::wstring wide;
    ASSERT_TRUE(Utf8ToWide(std::string("a\0b", 3), wide));
    EXPECT_EQ(wide, std::wstring(L"a\0b", 3));
}

} // namespace
