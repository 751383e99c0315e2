#include "package_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace hovrel::road;

TEST(PackageFileName, KeepsTheLastSegmentAndMakesItSafe) {
    const std::wstring longStem(200, L'a');
    const std::wstring surrogatePair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    const struct {
        std::wstring url;
        std::wstring name;
    } cases[] = {
        {L"https://h/dl/App-2.0-setup.exe", L"App-2.0-setup.exe"},
        {L"https://h/dl/App.MSI?token=a/b.exe#frag", L"App.MSI"},
        {L"https://h/dl/app.msi#x.exe", L"app.msi"},
        {L"https://h/dl/", L"package.exe"},
        {L"https://h", L"package.exe"},
        {L"https://h?x=/evil.exe", L"package.exe"},
        {L"https://h/dl/..", L"package.exe"},
        {L"https://h/dl/. . .", L"package.exe"},
        {L"https://h/download", L"download.exe"},
        {L"https://h/.msi", L".msi"},
        {L"https://h/setup.exe. . ", L"setup.exe"},
        {L"https://h/a%5C..%5Cb.exe", L"a%5C..%5Cb.exe"},
        {L"https://h/a:b*c<d>e|f\"g.exe", L"a_b_c_d_e_f_g.exe"},
        {std::wstring(L"https://h/a\tb") + wchar_t(1) + L".exe", L"a_b_.exe"},
        {L"https://h/dl\\CON", L"_CON.exe"},
        {L"https://h/con.msi", L"_con.msi"},
        {L"https://h/Lpt9 .exe", L"_Lpt9 .exe"},
        {L"https://h/COM10.exe", L"COM10.exe"},
        {L"https://h/CONSOLE.exe", L"CONSOLE.exe"},
        {L"https://h/" + longStem + L".msi", std::wstring(92, L'a') + L".msi"},
        {L"https://h/" + longStem + L".x" + longStem, std::wstring(96, L'a') + L".exe"},
        // A surrogate pair (as UTF-16 units, also where wchar_t is wider) is not split.
        {L"https://h/" + std::wstring(91, L'b') + surrogatePair + L".exe",
         std::wstring(91, L'b') + L".exe"},
        {L"https://h/Zo\u00EB.exe", L"Zo\u00EB.exe"},
        // Superscript digits name the same devices as digits.
        {L"https://h/COM\u00B9.exe", L"_COM\u00B9.exe"},
        {L"https://h/lpt\u00B2", L"_lpt\u00B2.exe"},
        {L"https://h/COM\u00B3 .msi", L"_COM\u00B3 .msi"},
        {L"https://h/COM\u00B4.exe", L"COM\u00B4.exe"},
        // Bidirectional controls are dropped, wherever they stand.
        {L"https://h/App\u202Egnp.exe", L"Appgnp.exe"},
        {L"https://h/\u202A\u202B\u202C\u202Da\u2066\u2067\u2068\u2069.msi", L"a.msi"},
        {L"https://h/\u202E\u2069", L"package.exe"},
        {L"https://h/CO\u202EN.exe", L"_CON.exe"},
        {L"https://h/a\u2065\u206A\u2029.exe", L"a\u2065\u206A\u2029.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackageFileName(c.url), c.name) << std::string(c.url.begin(), c.url.end());
    }
}

TEST(PackageKind, ComesFromTheFirstBytesAndNamesTheFile) {
    const struct {
        std::string bytes;
        PackageKind kind;
    } kinds[] = {
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12), PackageKind::Msi},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), PackageKind::Msi},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A", 7), PackageKind::Unknown},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE0", 8), PackageKind::Unknown},
        {"MZ\x90", PackageKind::Program},
        {"MZ", PackageKind::Program},
        {"M", PackageKind::Unknown},
        {"mz", PackageKind::Unknown},
        {"ZM", PackageKind::Unknown},
        {"PK\x03\x04", PackageKind::Unknown},
        {"", PackageKind::Unknown},
    };
    for (const auto& k : kinds) {
        EXPECT_EQ(
            KindOfPackage(reinterpret_cast<const unsigned char*>(k.bytes.data()), k.bytes.size()),
            k.kind)
            << k.bytes.size();
    }
    const struct {
        std::wstring path;
        PackageKind kind;
        std::wstring named;
    } names[] = {
        {L"C:\\t\\getfile.exe", PackageKind::Msi, L"C:\\t\\getfile.msi"},
        {L"C:\\t\\App.MSI", PackageKind::Msi, L"C:\\t\\App.MSI"},
        {L"C:\\t\\App.msi", PackageKind::Program, L"C:\\t\\App.exe"},
        {L"C:\\t\\Setup.EXE", PackageKind::Program, L"C:\\t\\Setup.EXE"},
        {L"C:\\t\\App-2.0", PackageKind::Program, L"C:\\t\\App-2.0.exe"},
        {L"C:\\t\\App.bin", PackageKind::Msi, L"C:\\t\\App.bin.msi"},
        {L"C:\\t\\App.msi.exe", PackageKind::Msi, L"C:\\t\\App.msi.msi"},
        {L"C:\\t\\App.exe", PackageKind::Unknown, L"C:\\t\\App.exe"},
    };
    for (const auto& n : names) {
        EXPECT_EQ(PathForKind(n.path, n.kind), n.named)
            << std::string(n.path.begin(), n.path.end());
    }
}

TEST(Msiexec, GetsTheExactCommandLine) {
    EXPECT_EQ(MsiexecArguments(L"C:\\t\\a b.msi", L""),
              L"/i \"C:\\t\\a b.msi\" /qn /norestart /l*v \"C:\\t\\a b.msi.log\"");
    EXPECT_EQ(MsiexecArguments(L"C:\\t\\a.msi", L"ALLUSERS=2 INSTALLDIR=\"C:\\x\""),
              L"/i \"C:\\t\\a.msi\" /qn /norestart /l*v \"C:\\t\\a.msi.log\" ALLUSERS=2 "
              L"INSTALLDIR=\"C:\\x\"");
}

} // namespace
