#pragma once

// For tests and pictures only, three environment variables:
// HOVREL_UPDATER_TEST_KEYS="offer=enter@1500,outcome=escape@800" presses
// Enter or Escape on a page that long after it appeared;
// HOVREL_UPDATER_TEST_LOG=FILE appends each page's name as it appears;
// HOVREL_UPDATER_TEST_PAGE_MS=N shows each page for N ms at least.

#include <windows.h>

#include <string>
#include <vector>

namespace hovrel::updater {

struct TestKey {
    std::string page;
    WPARAM key = 0;
    ULONGLONG afterMs = 0;
};

std::vector<TestKey> ReadTestKeys();

} // namespace hovrel::updater
