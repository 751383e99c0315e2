#include "http/content_length.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct ContentLengthCase {
    std::wstring text; // passed with its length, NULs included
    std::uint64_t expected;
};

TEST(ContentLength, ParsesDecimalDigitsAndRejectsEverythingElse) {
    const ContentLengthCase cases[] = {
        {L"0", 0},
        {L"1000", 1000},
        {L"2147483647", 2147483647ull},
        {L"2147483648", 2147483648ull},
        {L"4294967296", 4294967296ull},
        {L"18446744073709551615", 18446744073709551615ull},
        {L"000000000000000000000000000042", 42},
        {L" 17", 17},
        {L"17\t", 17},
        {L" \t 17 \t ", 17},
        {L"18446744073709551616", 0},
        {L"99999999999999999999", 0},
        {L"", 0},
        {L"   ", 0},
        {L"-5", 0},
        {L"+5", 0},
        {L"1 000", 0},
        {L"1,2", 0},
        {L"12a", 0},
        {L"abc", 0},
        {L"0x10", 0},
        {L"1e3", 0},
        {L"5\r", 0},
        {L"\x0661", 0},
        {std::wstring(L"123456", 3), 123},
        {std::wstring{L'1', L'2', L'\0', L'3'}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hovrel::ParseContentLength(c.text.data(), c.text.size()), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(hovrel::ParseContentLength(nullptr, 5), 0u);
}

} // namespace
