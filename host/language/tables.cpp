#include "texts.h"

#include <cstring>

namespace hovrel::language {

// One table per file; a new language is one line here and one in CMakeLists.txt.
extern const Table kTextsEn;
extern const Table kTextsDe;
extern const Table kTextsFr;
extern const Table kTextsEs;
extern const Table kTextsIt;
extern const Table kTextsPtBr;
extern const Table kTextsNl;
extern const Table kTextsPl;
extern const Table kTextsCs;
extern const Table kTextsRu;
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
        &kTextsEn, &kTextsDe, &kTextsFr,     &kTextsEs,     &kTextsIt, &kTextsPtBr,
        &kTextsNl, &kTextsPl, &kTextsCs,     &kTextsRu,     &kTextsUk, &kTextsTr,
        &kTextsJa, &kTextsKo, &kTextsZhHans, &kTextsZhHant, &kTextsAr, &kTextsHe,
    };
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
