#pragma once

#include <cstdint>
#include <string>

namespace hovrel {

// Locates keys of the outermost object of manifest text without building a
// tree: one byte-by-byte walk per question, tracking bracket depth and strings.
class ManifestScanner {
  public:
    static constexpr std::uint64_t kNotFound = UINT64_MAX;

    // Index of the first byte of the value of the first depth-1 key equal to
    // key (may equal text.size()), or kNotFound.
    static std::uint64_t FindTopLevelValue(const std::string& text, const char* key);

    // True when key's value is a complete quoted string; out then holds it
    // with escapes undone. out is untouched when the value is absent or not a
    // string, and holds the decoded prefix when the closing quote is missing.
    static bool ReadStringValue(const std::string& text, const char* key, std::string& out);
};

} // namespace hovrel
