#pragma once

// The one reading of command lines. A program lists its options as rows
// of a table; the rules all programs share are kept here once: --name=VALUE
// or --name VALUE, a flag takes no value, a valued option is given once
// unless repeatable, a pair takes the two words that follow (--name A B or
// --name=A B, B not starting with "--"), an empty value is refused unless
// the row allows it. Words that do not start with "--" go to the program's
// own positional handler. Templated on the character type: the Windows
// programs read wide arguments, hovrel-publish reads bytes.

#include "status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hovrel::common {

// An argument as a message may quote it: wide text narrowed to printable
// ASCII ('?' for the rest), bytes as they are.
std::string ShownInMessage(const std::wstring& text);
std::string ShownInMessage(const std::string& text);

// Digits only, 1 to 4294967295.
bool ParseWholeNumber(const std::wstring& text, std::uint32_t& number);
bool ParseWholeNumber(const std::string& text, std::uint32_t& number);

enum class OptionKind {
    Flag,
    Text,
    TextMayBeEmpty,
    RepeatableText,
    RepeatablePair,
    WholeNumber,
    Checked
};

template <typename Char, typename Options> struct OptionRow {
    using String = std::basic_string<Char>;
    // Stores a value it accepts; false refuses it with the row's refusal.
    using Check = bool (*)(const String& value, Options& options);
    using Pairs = std::vector<std::pair<String, String>>;
    using Field = std::variant<bool Options::*, String Options::*, std::optional<String> Options::*,
                               std::vector<String> Options::*, Pairs Options::*,
                               std::uint32_t Options::*, Check>;

    // A kind with the field it fills; built only through the functions
    // below, so a kind never meets a field of the wrong type.
    struct Target {
        OptionKind kind;
        Field field;
        // WholeNumber and Checked: the text for a value refused; RepeatablePair:
        // what its two words are, for the refusal of a missing one.
        const char* refusal;

        // A flag's value is ignored: being given sets it; only a pair has a
        // second value.
        Status Store(const String& value, const String& second, Options& options) const {
            switch (kind) {
            case OptionKind::Flag:
                options.*std::get<bool Options::*>(field) = true;
                return Status::Ok();
            case OptionKind::Text:
            case OptionKind::TextMayBeEmpty:
                if (const auto* text = std::get_if<String Options::*>(&field)) {
                    options.** text = value;
                } else {
                    options.*std::get<std::optional<String> Options::*>(field) = value;
                }
                return Status::Ok();
            case OptionKind::RepeatableText:
                (options.*std::get<std::vector<String> Options::*>(field)).push_back(value);
                return Status::Ok();
            case OptionKind::RepeatablePair:
                (options.*std::get<Pairs Options::*>(field)).emplace_back(value, second);
                return Status::Ok();
            case OptionKind::WholeNumber:
                return ParseWholeNumber(value, options.*std::get<std::uint32_t Options::*>(field))
                           ? Status::Ok()
                           : Status::Failure(refusal);
            case OptionKind::Checked:
                return std::get<Check>(field)(value, options) ? Status::Ok()
                                                              : Status::Failure(refusal);
            }
            return Status::Ok();
        }
    };

    static Target Flag(bool Options::*field) { return {OptionKind::Flag, field, nullptr}; }
    static Target Text(String Options::*field) { return {OptionKind::Text, field, nullptr}; }
    static Target TextMayBeEmpty(String Options::*field) {
        return {OptionKind::TextMayBeEmpty, field, nullptr};
    }
    // An optional field tells an option given empty from one not given.
    static Target TextMayBeEmpty(std::optional<String> Options::*field) {
        return {OptionKind::TextMayBeEmpty, field, nullptr};
    }
    static Target RepeatableText(std::vector<String> Options::*field) {
        return {OptionKind::RepeatableText, field, nullptr};
    }
    // `words` names the two values, as in "a language tag and a file".
    static Target RepeatablePair(Pairs Options::*field, const char* words) {
        return {OptionKind::RepeatablePair, field, words};
    }
    static Target WholeNumber(std::uint32_t Options::*field, const char* refusal) {
        return {OptionKind::WholeNumber, field, refusal};
    }
    static Target Checked(Check check, const char* refusal) {
        return {OptionKind::Checked, check, refusal};
    }

    const Char* name; // without the leading "--"
    Target target;
    unsigned programs; // bit mask of the programs (or subcommands) that take the option
};

template <typename Char, typename Options> struct OptionTable {
    using String = std::basic_string<Char>;
    // Takes a word that does not start with "--", or refuses it.
    using Positional = Status (*)(const String& word, Options& options);

    std::vector<OptionRow<Char, Options>> rows;
    Positional positional;
    // Words that end the parse where they stand, such as --help; not when
    // they are an option's value.
    std::vector<String> helpWords;
};

// How a program words the shared refusals around the option's name:
// "option --out given twice" or "--out given twice", "unknown option --x"
// or "unknown option --x for manifest".
struct OptionWording {
    std::string beforeName;
    std::string afterUnknown;
};

template <typename Options> struct ParsedOptions {
    Options options;
    bool helpAsked = false; // a help word ended the parse; options are the defaults
};

// Reads `arguments` (the words after the program's name, or after the
// subcommand) with the rows whose mask has a bit of `program`.
template <typename Char, typename Options>
Result<ParsedOptions<Options>> ParseOptions(const OptionTable<Char, Options>& table,
                                            unsigned program, const OptionWording& wording,
                                            const std::vector<std::basic_string<Char>>& arguments) {
    using String = std::basic_string<Char>;
    const String dashes(2, Char('-'));
    ParsedOptions<Options> parsed;
    std::vector<bool> given(table.rows.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const String& word = arguments[i];
        for (const String& help : table.helpWords) {
            if (word == help) {
                return ParsedOptions<Options>{Options{}, true};
            }
        }
        if (word.compare(0, dashes.size(), dashes) != 0) {
            Status taken = table.positional(word, parsed.options);
            if (!taken) {
                return taken;
            }
            continue;
        }
        const std::size_t equals = word.find(Char('='));
        const bool hasInline = equals != String::npos;
        const String name =
            word.substr(dashes.size(), hasInline ? equals - dashes.size() : String::npos);
        const std::string shown = "--" + ShownInMessage(name);
        std::size_t row = 0;
        while (row < table.rows.size() &&
               !(table.rows[row].name == name && (table.rows[row].programs & program) != 0)) {
            ++row;
        }
        if (row == table.rows.size()) {
            return Status::Failure("unknown option " + shown + wording.afterUnknown);
        }
        const auto& target = table.rows[row].target;
        String value;
        String second;
        if (target.kind == OptionKind::Flag) {
            if (hasInline) {
                return Status::Failure(wording.beforeName + shown + " takes no value");
            }
        } else {
            if (hasInline) {
                value = word.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return Status::Failure(wording.beforeName + shown + " needs " +
                                       (target.kind == OptionKind::RepeatablePair
                                            ? std::string(target.refusal)
                                            : std::string("a value")));
            }
            // A pair's second word is never an option: a forgotten one would
            // take the next option as its value and leave that option's value
            // stranded as a positional word.
            if (target.kind == OptionKind::RepeatablePair) {
                if (i + 1 >= arguments.size() ||
                    arguments[i + 1].compare(0, dashes.size(), dashes) == 0) {
                    return Status::Failure(wording.beforeName + shown + " needs " + target.refusal);
                }
                second = arguments[++i];
            }
            const bool repeatable = target.kind == OptionKind::RepeatableText ||
                                    target.kind == OptionKind::RepeatablePair;
            if (!repeatable) {
                if (given[row]) {
                    return Status::Failure(wording.beforeName + shown + " given twice");
                }
                given[row] = true;
            }
            if ((value.empty() || (target.kind == OptionKind::RepeatablePair && second.empty())) &&
                target.kind != OptionKind::TextMayBeEmpty) {
                return Status::Failure(wording.beforeName + shown + " needs a non-empty value");
            }
        }
        Status stored = target.Store(value, second, parsed.options);
        if (!stored) {
            return stored;
        }
    }
    return parsed;
}

} // namespace hovrel::common
