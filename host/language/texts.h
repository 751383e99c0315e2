#pragma once

// The window's texts, one table per language: each entry a key and its
// UTF-8 text, with numbered placeholders {1} to {9} that the window fills.
// English (texts_en.cpp) is the reference every other table follows, key
// for key and placeholder for placeholder; a whole sentence per key, so no
// text is glued from translated pieces.

#include <cstddef>
#include <string>
#include <vector>

namespace hovrel::language {

struct Entry {
    const char* key;
    const char* text;
};

struct Table {
    const char* tag; // BCP 47, as Windows names the language: "de", "pt-BR", "zh-Hans"
    bool rightToLeft;
    const Entry* entries;
    std::size_t count;
};

// Every table, English first (tables.cpp).
const std::vector<const Table*>& Tables();
const Table& English();

// The entry's text, or nullptr when the table has no such key.
const char* Find(const Table& table, const char* key);

} // namespace hovrel::language
