#pragma once

// The manifest text hovrel-publish writes: the library's six keys, then the
// terms and the release notes the host reads beside them, one key a line.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hovrel::authenticity {

struct ManifestFields {
    std::string version;
    std::string url;
    std::string sha256;
    std::uint64_t size = 0;
    int rollout = 100;
    bool mandatory = false;
    // Each of these is left out when empty.
    std::string expires;
    std::string product;
    std::string minWindows;
    std::string notes;
    // (canonical language tag, notes in that language), written as
    // "notes.<tag>" after "notes" in this order; empty notes are left out too.
    std::vector<std::pair<std::string, std::string>> notesByLanguage;
};

// Strings are JSON string literals; UTF-8 passes through as it is. The
// library reads every string back exactly but for control characters other
// than tab, line feed and carriage return: those become \u00XX escapes,
// which its scanner does not undo.
std::string ManifestText(const ManifestFields& fields);

} // namespace hovrel::authenticity
