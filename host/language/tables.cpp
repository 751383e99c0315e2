#include "texts.h"

#include <cstring>

namespace hovrel::language {

// One table per file; a new language is one line here and one in CMakeLists.txt.
extern const Table kTextsEn;
extern const Table kTextsDe;
extern const Table kTextsUk;
extern const Table kTextsTr;
extern const Table kTextsJa;
extern const Table kTextsKo;
extern const Table kTextsZhHans;
extern const Table kTextsZhHant;
extern const Table kTextsAr;
extern const Table kTextsHe;

const std::vector<const Table*>& Tables() {
    static const std::vector<const Table*> tables = {
        &kTextsEn, &kTextsDe,     &kTextsUk,     &kTextsTr, &kTextsJa,
        &kTextsKo, &kTextsZhHans, &kTextsZhHant, &kTextsAr, &kTextsHe};
    return tables;
}

const Table& English() {
    return kTextsEn;
}

const char* Find(const Table& table, const char* key) {
    for (std::size_t i = 0; i < table.count; ++i) {
        if (std::strcmp(table.entries[i].key, key) == 0) {
            return table.entries[i].text;
        }
    }
    return nullptr;
}

} // namespace hovrel::language
