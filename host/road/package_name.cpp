#include "package_name.h"

#include <algorithm>

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

// Shown the other way round, so a name can pass for another ("gnp.exe").
bool IsBidirectionalControl(wchar_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Windows takes the superscript digits for digits in device names.
bool IsDeviceDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 (with ¹²³ too) name a device whatever
// extension follows, and Windows ignores trailing spaces before the dot.
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
           IsDeviceDigit(stem[3]);
}

bool EndsWith(const std::wstring& text, const std::wstring& upperEnd) {
    return text.size() >= upperEnd.size() &&
           Upper(text.substr(text.size() - upperEnd.size())) == upperEnd;
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
    const std::wstring segment = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::wstring name;
    for (wchar_t c : segment) {
        if (!IsBidirectionalControl(c)) {
            name += IsForbidden(c) ? L'_' : c;
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

PackageKind KindOfPackage(const unsigned char* bytes, std::size_t size) {
    static const unsigned char compoundFile[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (size >= sizeof compoundFile &&
        std::equal(compoundFile, compoundFile + sizeof compoundFile, bytes)) {
        return PackageKind::Msi;
    }
    if (size >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        return PackageKind::Program;
    }
    return PackageKind::Unknown;
}

std::wstring PathForKind(const std::wstring& path, PackageKind kind) {
    if (kind == PackageKind::Unknown) {
        return path;
    }
    const std::wstring wanted = kind == PackageKind::Msi ? L".MSI" : L".EXE";
    const std::wstring other = kind == PackageKind::Msi ? L".EXE" : L".MSI";
    if (EndsWith(path, wanted)) {
        return path;
    }
    const std::wstring stem = EndsWith(path, other) ? path.substr(0, path.size() - 4) : path;
    return stem + (kind == PackageKind::Msi ? L".msi" : L".exe");
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
