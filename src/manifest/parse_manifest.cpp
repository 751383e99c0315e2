#include "hovrel.h"
#include "interface/export_guard.h"
#include "manifest/manifest_scanner.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace hovrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal digits from position on, modulo 2^64 (unsigned arithmetic wraps
// by definition). digits receives how many were read.
std::uint64_t ReadDecimal(const std::string& text, std::uint64_t position, std::size_t& digits) {
    std::uint64_t value = 0;
    digits = 0;
    for (std::uint64_t i = position; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10u + static_cast<std::uint64_t>(text[i] - '0');
        ++digits;
    }
    return value;
}

bool HasLiteral(const std::string& text, std::uint64_t position, const char* literal) {
    const std::size_t length = std::strlen(literal);
    return text.size() - position >= length && text.compare(position, length, literal) == 0;
}

// Copies at most capacity - 1 bytes and a NUL.
template <std::size_t Capacity>
void StoreTruncated(char (&field)[Capacity], const std::string& value) {
    const std::size_t length = std::min(value.size(), Capacity - 1);
    std::memcpy(field, value.data(), length);
    field[length] = '\0';
}

HV_Result ParseManifest(const char* text, HV_Manifest* record) {
    std::memset(record, 0, sizeof *record);
    const std::string copy(text);
    std::string value;

    if (!ManifestScanner::ReadStringValue(copy, "version", value)) {
        return HV_ManifestParse;
    }
    StoreTruncated(record->version, value);
    if (!ManifestScanner::ReadStringValue(copy, "url", value)) {
        return HV_ManifestParse;
    }
    StoreTruncated(record->url, value);
    if (!ManifestScanner::ReadStringValue(copy, "sha256", value)) {
        return HV_ManifestParse;
    }
    StoreTruncated(record->sha256, value);

    std::size_t digits = 0;
    const std::uint64_t size = ManifestScanner::FindTopLevelValue(copy, "size");
    if (size != ManifestScanner::kNotFound && size < copy.size()) {
        const std::uint64_t parsed = ReadDecimal(copy, size, digits);
        if (digits > 0) {
            record->size = parsed;
        }
    }

    record->rollout = 100;
    const std::uint64_t rollout = ManifestScanner::FindTopLevelValue(copy, "rollout");
    if (rollout != ManifestScanner::kNotFound && rollout < copy.size() && IsDigit(copy[rollout])) {
        const auto low32 = static_cast<std::uint32_t>(ReadDecimal(copy, rollout, digits));
        // Two's-complement reinterpretation of the low 32 bits, without relying
        // on implementation-defined narrowing.
        std::memcpy(&record->rollout, &low32, sizeof low32);
    }

    const std::uint64_t mandatory = ManifestScanner::FindTopLevelValue(copy, "mandatory");
    if (mandatory != ManifestScanner::kNotFound && HasLiteral(copy, mandatory, "true")) {
        record->mandatory = 1;
    }
    return HV_Ok;
}

} // namespace

} // namespace hovrel

extern "C" HV_API HV_Result HV_CALL HV_ParseManifest(const char* text, HV_Manifest* record) {
    if (text == nullptr || record == nullptr) {
        return HV_BadArgument;
    }
    return hovrel::GuardExport([&] { return hovrel::ParseManifest(text, record); });
}
