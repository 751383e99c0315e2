#include "user_language.h"

#include "utf8.h"

#include <windows.h>

#include <cwchar>

namespace hovrel::windows {

std::vector<std::string> PreferredUiLanguages() {
    std::vector<std::string> tags;
    ULONG count = 0;
    ULONG size = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size > 0) {
        std::wstring names(size, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) {
            // A list of names, each ended by a NUL, the list by another.
            for (const wchar_t* name = names.c_str(); *name != L'\0'; name += wcslen(name) + 1) {
                std::string tag;
                if (common::WideToUtf8(name, tag)) {
                    tags.push_back(tag);
                }
            }
        }
    }
    if (tags.empty()) {
        wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
        std::string tag;
        if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                             LOCALE_NAME_MAX_LENGTH, 0) > 0 &&
            common::WideToUtf8(name, tag)) {
            tags.push_back(tag);
        }
    }
    return tags;
}

LocaleNumberFormat::LocaleNumberFormat(const std::string& localeName) {
    common::Utf8ToWide(localeName, locale_);
}

std::string LocaleNumberFormat::Decimal(double value, int decimals) const {
    const std::string invariant = NumberFormat::Decimal(value, decimals);
    std::wstring digits;
    common::Utf8ToWide(invariant, digits);
    // The locale's own separators and grouping, with our count of decimals.
    wchar_t decimal[8] = {};
    wchar_t thousand[8] = {};
    wchar_t grouping[16] = {};
    DWORD leadingZero = 1;
    DWORD negativeOrder = 1;
    const wchar_t* locale = locale_.c_str();
    if (GetLocaleInfoEx(locale, LOCALE_SDECIMAL, decimal, 8) == 0 ||
        GetLocaleInfoEx(locale, LOCALE_STHOUSAND, thousand, 8) == 0 ||
        GetLocaleInfoEx(locale, LOCALE_SGROUPING, grouping, 16) == 0 ||
        GetLocaleInfoEx(locale, LOCALE_ILZERO | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&leadingZero), 2) == 0 ||
        GetLocaleInfoEx(locale, LOCALE_INEGNUMBER | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&negativeOrder), 2) == 0) {
        return invariant;
    }
    // LOCALE_SGROUPING "3;0" (threes throughout) is NUMBERFMT's 3, "3;2;0"
    // (India) its 32, and "3" (one group only) its 30.
    std::wstring sizes;
    for (const wchar_t* g = grouping; *g != L'\0'; ++g) {
        if (*g >= L'0' && *g <= L'9') {
            sizes += *g;
        }
    }
    if (sizes.size() > 1 && sizes.back() == L'0') {
        sizes.pop_back();
    } else {
        sizes += L'0';
    }
    const UINT groups = static_cast<UINT>(std::wcstoul(sizes.c_str(), nullptr, 10));
    NUMBERFMTW format = {};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = leadingZero;
    format.Grouping = groups;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = negativeOrder;
    wchar_t text[128] = {};
    std::string written;
    if (GetNumberFormatEx(locale, 0, digits.c_str(), &format, text, 128) == 0 ||
        !common::WideToUtf8(text, written)) {
        return invariant;
    }
    return written;
}

} // namespace hovrel::windows
