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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackageFileName(c.url), c.name) << std::string(c.url.begin(), c.url.end());
    }
}

TEST(Msiexec, IsChosenByTheExtensionAndGetsTheExactCommandLine) {
    EXPECT_TRUE(IsMsiPackage(L"C:\\t\\App.msi"));
    EXPECT_TRUE(IsMsiPackage(L"C:\\t\\App.MsI"));
    EXPECT_FALSE(IsMsiPackage(L"C:\\t\\App.msi.exe"));
    EXPECT_FALSE(IsMsiPackage(L"C:\\t\\Appmsi"));
    EXPECT_FALSE(IsMsiPackage(L"msi"));
    EXPECT_EQ(MsiexecArguments(L"C:\\t\\a b.msi", L""),
              L"/i \"C:\\t\\a b.msi\" /qn /norestart /l*v \"C:\\t\\a b.msi.log\"");
    EXPECT_EQ(MsiexecArguments(L"C:\\t\\a.msi", L"ALLUSERS=2 INSTALLDIR=\"C:\\x\""),
              L"/i \"C:\\t\\a.msi\" /qn /norestart /l*v \"C:\\t\\a.msi.log\" ALLUSERS=2 "
              L"INSTALLDIR=\"C:\\x\"");
}

} // namespace
