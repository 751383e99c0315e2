#include "tags.h"

#include <algorithm>
#include <cctype>

namespace hovrel::language {

namespace {

bool AllOf(const std::string& text, int (*test)(int)) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [test](char c) {
        return test(static_cast<unsigned char>(c)) != 0;
    });
}

bool IsAlpha(const std::string& s) {
    return AllOf(s, std::isalpha);
}
bool IsDigit(const std::string& s) {
    return AllOf(s, std::isdigit);
}
bool IsAlnum(const std::string& s) {
    return AllOf(s, std::isalnum);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::vector<std::string> Split(const std::string& tag) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dash = tag.find('-', start);
        parts.push_back(tag.substr(start, dash - start));
        if (dash == std::string::npos) {
            return parts;
        }
        start = dash + 1;
    }
}

// Language in lower case, script in title case, region in upper case, as
// manifests name their notes ("notes.pt-BR", "notes.zh-Hant").
std::string Canonical(const std::string& tag) {
    std::vector<std::string> parts = Split(Lower(tag));
    bool extension = false;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string& part = parts[i];
        extension = extension || part.size() == 1;
        if (extension) {
            continue;
        }
        if (part.size() == 2 && IsAlpha(part)) {
            part = {static_cast<char>(std::toupper(static_cast<unsigned char>(part[0]))),
                    static_cast<char>(std::toupper(static_cast<unsigned char>(part[1])))};
        } else if (i == 1 && part.size() == 4 && IsAlpha(part)) {
            part[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(part[0])));
        }
    }
    std::string canonical = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) {
        canonical += "-" + parts[i];
    }
    return canonical;
}

bool IsScript(const std::string& s) {
    return s.size() == 4 && IsAlpha(s);
}
bool IsRegion(const std::string& s) {
    return (s.size() == 2 && IsAlpha(s)) || (s.size() == 3 && IsDigit(s));
}

// The parts of a well-formed tag that matching looks at, in lower case.
struct Parsed {
    std::string language, script, region;
};

bool Parse(const std::string& tag, Parsed& parsed) {
    const std::vector<std::string> parts = Split(tag);
    const std::string& language = parts[0];
    if (!IsAlpha(language) || language.size() < 2 || language.size() > 8 || language.size() == 4) {
        return false;
    }
    parsed.language = Lower(language);
    std::size_t i = 1;
    if (i < parts.size() && IsScript(parts[i])) {
        parsed.script = Lower(parts[i++]);
    }
    if (i < parts.size() && IsRegion(parts[i])) {
        parsed.region = Lower(parts[i++]);
    }
    // Variants: 5 to 8 letters or digits, or a digit and three more.
    while (i < parts.size() && IsAlnum(parts[i]) &&
           ((parts[i].size() >= 5 && parts[i].size() <= 8) ||
            (parts[i].size() == 4 && std::isdigit(static_cast<unsigned char>(parts[i][0]))))) {
        ++i;
    }
    // Extensions, and private use last: a singleton and at least one subtag.
    while (i < parts.size()) {
        const std::string singleton = Lower(parts[i]);
        if (singleton.size() != 1 || !IsAlnum(singleton) || i + 1 == parts.size()) {
            return false;
        }
        const std::size_t shortest = singleton == "x" ? 1 : 2;
        ++i;
        std::size_t subtags = 0;
        while (i < parts.size() && parts[i].size() >= shortest && parts[i].size() <= 8 &&
               IsAlnum(parts[i]) && (singleton == "x" || parts[i].size() > 1)) {
            ++i;
            ++subtags;
        }
        if (subtags == 0) {
            return false;
        }
        if (singleton == "x" && i != parts.size()) {
            return false;
        }
    }
    // Chinese tables go by script; a tag without one implies it.
    if (parsed.language == "zh" && parsed.script.empty()) {
        const bool traditional =
            parsed.region == "tw" || parsed.region == "hk" || parsed.region == "mo";
        parsed.script = traditional ? "hant" : "hans";
    }
    return true;
}

const Table* TableTagged(const std::vector<const Table*>& tables, const std::string& tag) {
    for (const Table* table : tables) {
        if (Lower(table->tag) == Lower(tag)) {
            return table;
        }
    }
    return nullptr;
}

// A table of the language in another region, or in the implied script.
const Table* TableOfLanguage(const std::vector<const Table*>& tables, const Parsed& wanted) {
    for (const Table* table : tables) {
        Parsed offered;
        if (Parse(table->tag, offered) && offered.language == wanted.language &&
            offered.script == wanted.script) {
            return table;
        }
    }
    return nullptr;
}

// The table `tag` matches, or nullptr.
const Table* Match(const std::string& tag, const std::vector<const Table*>& tables) {
    for (const std::string& candidate : Candidates(tag)) {
        if (const Table* table = TableTagged(tables, candidate)) {
            return table;
        }
    }
    Parsed parsed;
    return Parse(tag, parsed) ? TableOfLanguage(tables, parsed) : nullptr;
}

} // namespace

bool IsWellFormedTag(const std::string& tag) {
    Parsed parsed;
    return Parse(tag, parsed);
}

std::optional<std::string> CanonicalNotesTag(const std::string& tag) {
    const std::vector<std::string> parts = Split(tag);
    std::size_t i = 1;
    if (i < parts.size() && IsScript(parts[i])) {
        ++i;
    }
    if (i < parts.size() && IsRegion(parts[i])) {
        ++i;
    }
    if (i != parts.size() || parts[0].size() > 3 || !IsWellFormedTag(tag)) {
        return std::nullopt;
    }
    return Canonical(tag);
}

std::vector<std::string> Candidates(const std::string& tag) {
    Parsed parsed;
    if (!Parse(tag, parsed)) {
        return {};
    }
    std::vector<std::string> candidates = {Canonical(tag)};
    const auto add = [&candidates](const std::string& candidate) {
        const std::string canonical = Canonical(candidate);
        if (std::find(candidates.begin(), candidates.end(), canonical) == candidates.end()) {
            candidates.push_back(canonical);
        }
    };
    const std::string& language = parsed.language;
    if (!parsed.script.empty() && !parsed.region.empty()) {
        add(language + "-" + parsed.script + "-" + parsed.region);
    }
    if (!parsed.region.empty()) {
        add(language + "-" + parsed.region);
    }
    if (!parsed.script.empty()) {
        add(language + "-" + parsed.script);
    }
    add(language);
    return candidates;
}

const Table& ChooseTable(const std::vector<std::string>& preferred) {
    return ChooseTable(preferred, Tables());
}

const Table& ChooseTable(const std::vector<std::string>& preferred,
                         const std::vector<const Table*>& tables) {
    for (const std::string& tag : preferred) {
        if (const Table* table = Match(tag, tables)) {
            return *table;
        }
    }
    return English();
}

std::string ChosenTag(const std::vector<std::string>& preferred, const Table& table) {
    for (const std::string& tag : preferred) {
        if (Match(tag, Tables()) == &table) {
            return tag;
        }
    }
    return table.tag;
}

std::vector<std::string> NotesLanguages(const std::string& tag, const Table& chosen) {
    std::vector<std::string> languages = Candidates(tag);
    if (std::find(languages.begin(), languages.end(), chosen.tag) == languages.end()) {
        languages.push_back(chosen.tag);
    }
    return languages;
}

} // namespace hovrel::language
