#include "manifest_writer.h"

#include <cstdio>

namespace hovrel::authenticity {

namespace {

// The library's scanner undoes \" \\ \n \r \t and nothing else, so those
// are the escapes that travel; other control characters are still written
// the way JSON requires.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void AppendUnlessEmpty(std::string& text, const std::string& key, const std::string& value) {
    if (!value.empty()) {
        text += ",\n  " + JsonString(key) + ": " + JsonString(value);
    }
}

} // namespace

std::string ManifestText(const ManifestFields& fields) {
    std::string text = "{\n  \"version\": " + JsonString(fields.version) +
                       ",\n  \"url\": " + JsonString(fields.url) +
                       ",\n  \"sha256\": " + JsonString(fields.sha256) +
                       ",\n  \"size\": " + std::to_string(fields.size) +
                       ",\n  \"rollout\": " + std::to_string(fields.rollout) +
                       ",\n  \"mandatory\": " + (fields.mandatory ? "true" : "false");
    AppendUnlessEmpty(text, "expires", fields.expires);
    AppendUnlessEmpty(text, "product", fields.product);
    AppendUnlessEmpty(text, "min_windows", fields.minWindows);
    AppendUnlessEmpty(text, "notes", fields.notes);
    for (const auto& [tag, notes] : fields.notesByLanguage) {
        AppendUnlessEmpty(text, "notes." + tag, notes);
    }
    return text + "\n}\n";
}

} // namespace hovrel::authenticity
