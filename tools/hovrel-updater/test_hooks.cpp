#include "test_hooks.h"

#include "handles.h"
#include "utf8.h"

#include <cstdio>
#include <cstdlib>

namespace hovrel::updater {

#if HOVREL_TEST_HOOKS
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

// Each control's text on a line of its own, line breaks shown as "\n".
BOOL CALLBACK AppendControlText(HWND control, LPARAM data) {
    wchar_t text[2048] = {};
    GetWindowTextW(control, text, 2048);
    std::string utf8;
    if (text[0] != L'\0' && hovrel::common::WideToUtf8(text, utf8)) {
        std::string& lines = *reinterpret_cast<std::string*>(data);
        lines += "  ";
        for (const char c : utf8) {
            lines += c == '\n' ? std::string("\\n") : c == '\r' ? std::string() : std::string(1, c);
        }
        lines += "\n";
    }
    return TRUE;
}

} // namespace
#endif

TestHooks TestHooks::FromEnvironment() {
    TestHooks hooks;
#if HOVREL_TEST_HOOKS
    std::string rest = Environment("HOVREL_UPDATER_TEST_KEYS");
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string entry = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        const std::size_t equals = entry.find('=');
        const std::size_t at = entry.find('@');
        if (equals == std::string::npos || at == std::string::npos || at < equals) {
            continue;
        }
        const std::string key = entry.substr(equals + 1, at - equals - 1);
        hooks.keys_.push_back({entry.substr(0, equals),
                               key == "escape" ? WPARAM{VK_ESCAPE}
                               : key == "tab"  ? WPARAM{VK_TAB}
                                               : WPARAM{VK_RETURN},
                               std::strtoull(entry.c_str() + at + 1, nullptr, 10)});
    }
    hooks.logPath_ = Environment("HOVREL_UPDATER_TEST_LOG");
    hooks.textsPath_ = Environment("HOVREL_UPDATER_TEST_TEXTS");
    hooks.minimumPageMs_ =
        std::strtoull(Environment("HOVREL_UPDATER_TEST_PAGE_MS").c_str(), nullptr, 10);
#endif
    return hooks;
}

void TestHooks::PageShown(HWND dialog, const road::PageView& view) {
    pressedOnPage_ = 0;
    const std::string line = view.page == road::Page::Outcome
                                 ? std::string("outcome:") + road::OutcomeName(view.outcome)
                                 : road::PageName(view.page);
    if (!logPath_.empty()) {
        if (const UniqueStdioFile file(std::fopen(logPath_.c_str(), "ab")); file) {
            std::fprintf(file.get(), "%s\n", line.c_str());
        }
    }
#if HOVREL_TEST_HOOKS
    if (textsPath_.empty()) {
        return;
    }
    const bool rightToLeft = (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    std::string lines = line + (rightToLeft ? " rtl\n" : " ltr\n");
    EnumChildWindows(dialog, AppendControlText, reinterpret_cast<LPARAM>(&lines));
    if (const UniqueStdioFile file(std::fopen(textsPath_.c_str(), "ab")); file) {
        std::fputs(lines.c_str(), file.get());
    }
#else
    (void)dialog;
#endif
}

bool TestHooks::PageMayChange(ULONGLONG shownForMs) const {
    return shownForMs >= minimumPageMs_;
}

// A key press through the dialog's own keyboard handling, to where the
// focus is, as a user's would go.
void TestHooks::PressDueKey(HWND dialog, const road::PageView& view, ULONGLONG shownForMs) {
    const std::string page =
        view.page == road::Page::Outcome ? "outcome" : road::PageName(view.page);
    std::size_t index = 0;
    for (const Key& key : keys_) {
        if (key.page != page || index++ < pressedOnPage_) {
            continue;
        }
        if (shownForMs < key.afterMs) {
            return;
        }
        ++pressedOnPage_;
        HWND focus = GetFocus();
        if (focus == nullptr || !IsChild(dialog, focus)) {
            focus = dialog;
        }
        PostMessageW(focus, WM_KEYDOWN, key.key, 0);
        PostMessageW(focus, WM_KEYUP, key.key, 0xC0000000);
        return;
    }
}

} // namespace hovrel::updater
