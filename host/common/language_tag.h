#pragma once

// The language tags the programs take: a BCP 47 language (2 or 3 letters),
// an optional script (4 letters) and an optional region (2 letters or 3
// digits), such as de, pt-BR, zh-Hant or es-419. Tags differing only in case
// name one language, so everything compares and stores the canonical form.

#include <optional>
#include <string>

namespace hovrel::common {

// The tag in canonical case (language lower, Script title, REGION upper), or
// nothing when it is not of that form.
std::optional<std::string> CanonicalLanguageTag(const std::string& tag);

} // namespace hovrel::common
