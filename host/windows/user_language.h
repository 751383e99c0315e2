#pragma once

// The user's languages as Windows knows them, and numbers written the way
// a locale writes them, for the window's texts.

#include "translation.h"

#include <string>
#include <vector>

namespace hovrel::windows {

// GetUserPreferredUILanguages, best first; GetUserDefaultUILanguage's name
// when that gives none.
std::vector<std::string> PreferredUiLanguages();

// Through GetNumberFormatEx for the locale named: its decimal separator and
// digit grouping ("1,6" and "1.234" for de-DE). A locale Windows does not
// know writes as the invariant one does.
class LocaleNumberFormat : public language::NumberFormat {
  public:
    explicit LocaleNumberFormat(const std::string& localeName);
    std::string Decimal(double value, int decimals) const override;

  private:
    std::wstring locale_;
};

} // namespace hovrel::windows
