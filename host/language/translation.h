#pragma once

// One language's texts, filled in: the table the window chose and the
// user's way of writing numbers.

#include "texts.h"

#include <string>
#include <vector>

namespace hovrel::language {

// Decimal numbers the user's way. The window passes the locale's own
// (GetNumberFormatEx); the invariant one writes "1234.5" and is what the
// portable tests see.
class NumberFormat {
  public:
    virtual ~NumberFormat() = default;
    virtual std::string Decimal(double value, int decimals) const;
};

// {1} to {9} replaced by arguments[0] to [8]; a placeholder without an
// argument stays as it is, so a missing one shows rather than vanishes.
std::string Fill(const std::string& text, const std::vector<std::string>& arguments);

// How often each of {1} to {9} appears (index 0 counts {1}), and whether
// a brace stands outside such a placeholder.
struct PlaceholderCount {
    int counts[9] = {};
    bool stray = false;
};
PlaceholderCount CountPlaceholders(const std::string& text);

class Translation {
  public:
    Translation(const Table& table, const NumberFormat& numbers)
        : table_(table), numbers_(numbers) {}

    const Table& table() const { return table_; }
    // The key's text, from English when the table lacks it, filled in.
    std::string Say(const char* key, const std::vector<std::string>& arguments = {}) const;
    std::string Decimal(double value, int decimals) const {
        return numbers_.Decimal(value, decimals);
    }

  private:
    const Table& table_;
    const NumberFormat& numbers_;
};

// English with invariant numbers, for the tests and what has no window.
const Translation& EnglishTranslation();

} // namespace hovrel::language
