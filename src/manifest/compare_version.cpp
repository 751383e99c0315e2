#include "hovrel.h"

#include <cstddef>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A version component: its digit run with leading zeros dropped, so that
// components of any length compare exactly, as numbers.
struct Component {
    const char* significant;
    std::size_t length;
};

Component ReadComponent(const char*& position) {
    while (*position == '0') {
        ++position;
    }
    Component component{position, 0};
    while (IsDigit(*position)) {
        ++position;
        ++component.length;
    }
    return component;
}

int CompareComponents(const Component& a, const Component& b) {
    if (a.length != b.length) {
        return a.length < b.length ? -1 : 1;
    }
    for (std::size_t i = 0; i < a.length; ++i) {
        if (a.significant[i] != b.significant[i]) {
            return a.significant[i] < b.significant[i] ? -1 : 1;
        }
    }
    return 0;
}

bool HasEnded(const char* position) {
    return *position != '.' && !IsDigit(*position);
}

int32_t CompareVersions(const char* a, const char* b) {
    for (;;) {
        const int order = CompareComponents(ReadComponent(a), ReadComponent(b));
        if (order != 0) {
            return order;
        }
        if (*a == '.') {
            ++a;
        }
        if (*b == '.') {
            ++b;
        }
        const bool aEnded = HasEnded(a);
        const bool bEnded = HasEnded(b);
        if (aEnded) {
            return bEnded ? 0 : -1;
        }
        if (bEnded) {
            return 1;
        }
    }
}

} // namespace

extern "C" HV_API HV_Result HV_CALL HV_CompareVersion(const char* a, const char* b,
                                                      int32_t* order) {
    if (a == nullptr || b == nullptr || order == nullptr) {
        return HV_BadArgument;
    }
    *order = CompareVersions(a, b);
    return HV_Ok;
}
