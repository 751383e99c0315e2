#pragma once

// For tests and pictures only, four environment variables:
// HOVREL_UPDATER_TEST_KEYS="offer=enter@1500,outcome=escape@800" presses
// Enter, Escape or Tab on a page that long after it appeared;
// HOVREL_UPDATER_TEST_LOG=FILE appends each page's name as it appears;
// HOVREL_UPDATER_TEST_PAGE_MS=N shows each page for N ms at least;
// HOVREL_UPDATER_TEST_TEXTS=FILE appends what each page shows: its name,
// "rtl" or "ltr" as its window is laid out, then the text of every control.
// Unset, the window is the one users see. Only hovrel-updater-test.exe,
// built with HOVREL_TEST_HOOKS, reads them: the shipped program ignores them,
// so no one can press Install now or append to a file through its environment.

#include "pages.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace hovrel::updater {

class TestHooks {
  public:
    static TestHooks FromEnvironment();

    // Logs the page as "offer" or "outcome:installed", and what it shows.
    void PageShown(HWND dialog, const road::PageView& view);
    // False until the page has been up for the minimum time.
    bool PageMayChange(ULONGLONG shownForMs) const;
    // Presses the page's next key once it is due.
    void PressDueKey(HWND dialog, const road::PageView& view, ULONGLONG shownForMs);

  private:
    struct Key {
        std::string page; // "outcome" for every outcome
        WPARAM key = 0;
        ULONGLONG afterMs = 0;
    };

    std::vector<Key> keys_;
    std::string logPath_;
    std::string textsPath_;
    ULONGLONG minimumPageMs_ = 0;
    std::size_t pressedOnPage_ = 0;
};

} // namespace hovrel::updater
