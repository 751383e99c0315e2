#pragma once

// Which table speaks the user's language: BCP 47 tags matched
// case-insensitively, exact first, then language-script, then language,
// with Chinese read by its script (zh-TW, zh-HK, zh-MO are zh-Hant; zh,
// zh-CN, zh-SG are zh-Hans). Without a match, English.

#include "texts.h"

#include <optional>
#include <string>
#include <vector>

namespace hovrel::language {

// language[-script][-region](-variant)*(-extension)*[-x-private], as
// Windows and --language write them; "_" is not a separator.
bool IsWellFormedTag(const std::string& tag);

// `tag` in canonical case (language lower, Script title, REGION upper) when
// it is language[-script][-region] with a language of 2 or 3 letters, the
// forms a manifest's "notes.<tag>" take; nothing otherwise.
std::optional<std::string> CanonicalNotesTag(const std::string& tag);

// The tags to try for `tag`, best first: the tag itself, then shorter
// forms down to the bare language ("pt-BR", "pt"; "zh-TW" gives
// "zh-Hant-TW", "zh-Hant", "zh"). Empty for a malformed tag.
std::vector<std::string> Candidates(const std::string& tag);

// The table for the first of `preferred` that any table matches: through
// Candidates, then any table of the same language and script ("pt" finds
// "pt-BR"). English when none does.
const Table& ChooseTable(const std::vector<std::string>& preferred);
// The same among `tables`.
const Table& ChooseTable(const std::vector<std::string>& preferred,
                         const std::vector<const Table*>& tables);

// The first of `preferred` that chooses `table`, else the table's own tag:
// the window's language as the user named it ("de-AT" for the German table).
std::string ChosenTag(const std::vector<std::string>& preferred, const Table& table);

// The tags whose release notes ("notes.<tag>") the window looks for, best
// first: `tag`'s Candidates, then the chosen table's tag.
std::vector<std::string> NotesLanguages(const std::string& tag, const Table& chosen);

} // namespace hovrel::language
