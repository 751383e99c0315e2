#include "package_name.h"

namespace hovrel::road {

namespace {

// Well below MAX_PATH, so the temp folder and the private folder fit too;
// ".exe" may still be added.
constexpr std::size_t kMaxNameLength = 96;
constexpr std::size_t kMaxExtensionLength = 16;

bool IsForbidden(wchar_t c) {
    return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' ||
           c == L'\\' || c == L'|' || c == L'?' || c == L'*' || c == 0x7F;
}

std::wstring Upper(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        out += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    }
    return out;
}

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 name a device whatever extension
// follows, and Windows ignores trailing spaces before the dot.
bool IsReservedDeviceName(const std::wstring& name) {
    std::wstring stem = Upper(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ') {
        stem.pop_back();
    }
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") {
        return true;
    }
    return stem.size() == 4 &&
           (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'0' && stem[3] <= L'9';
}

void TrimTrailingDotsAndSpaces(std::wstring& name) {
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) {
        name.pop_back();
    }
}

// Cuts to at most `length` UTF-16 units without splitting a surrogate pair.
std::wstring Cut(const std::wstring& text, std::size_t length) {
    if (text.size() <= length) {
        return text;
    }
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) {
        --length;
    }
    return text.substr(0, length);
}

std::wstring CapLength(const std::wstring& name) {
    if (name.size() <= kMaxNameLength) {
        return name;
    }
    const std::size_t dot = name.rfind(L'.');
    std::wstring extension;
    if (dot != std::wstring::npos && dot > 0 && name.size() - dot <= kMaxExtensionLength) {
        extension = name.substr(dot);
    }
    std::wstring stem =
        Cut(name.substr(0, name.size() - extension.size()), kMaxNameLength - extension.size());
    TrimTrailingDotsAndSpaces(stem);
    return stem + extension;
}

} // namespace

std::wstring PackageFileName(const std::wstring& url) {
    std::wstring path = url.substr(0, url.find_first_of(L"?#"));
    const std::size_t scheme = path.find(L"://");
    if (scheme != std::wstring::npos) {
        const std::size_t pathStart = path.find(L'/', scheme + 3);
        path = pathStart == std::wstring::npos ? std::wstring() : path.substr(pathStart);
    }
    const std::size_t slash = path.find_last_of(L"/\\");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    for (wchar_t& c : name) {
        if (IsForbidden(c)) {
            c = L'_';
        }
    }
    TrimTrailingDotsAndSpaces(name);
    if (name.empty()) {
        return L"package.exe";
    }
    name = CapLength(name);
    // Windows starts a program without an extension as if it ended in .exe.
    if (name.find(L'.') == std::wstring::npos) {
        name += L".exe";
    }
    if (IsReservedDeviceName(name)) {
        name.insert(0, 1, L'_');
    }
    return name;
}

bool IsMsiPackage(const std::wstring& path) {
    return path.size() >= 4 && Upper(path.substr(path.size() - 4)) == L".MSI";
}

std::wstring MsiexecLogPath(const std::wstring& packagePath) {
    return packagePath + L".log";
}

std::wstring MsiexecArguments(const std::wstring& packagePath, const std::wstring& extra) {
    std::wstring arguments =
        L"/i \"" + packagePath + L"\" /qn /norestart /l*v \"" + MsiexecLogPath(packagePath) + L"\"";
    if (!extra.empty()) {
        arguments += L" " + extra;
    }
    return arguments;
}

} // namespace hovrel::road
