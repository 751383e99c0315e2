#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

namespace {

// Reads the names in the export directory of a loaded module.
std::set<std::string> ExportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* directory =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    std::set<std::string> names;
    for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    return names;
}

TEST(ExportTable, ExportsExactlyTheLibraryFunctionsUndecorated) {
    HMODULE module = LoadLibraryW(L"Hovrel.dll");
    ASSERT_NE(module, nullptr);
    const std::set<std::string> expected = {
        "HV_CompareVersion", "HV_ParseManifest", "HV_DownloadVerify", "HV_FetchManifest",
        "HV_HashFile",       "HV_ResultText",    "HV_RunInstaller",
    };
    EXPECT_EQ(ExportedNames(module), expected);
    FreeLibrary(module);
}

TEST(ExportTable, ModuleLoadsAndUnloadsRepeatedly) {
    for (int i = 0; i < 20; ++i) {
        HMODULE module = LoadLibraryW(L"Hovrel.dll");
        ASSERT_NE(module, nullptr);
        EXPECT_NE(GetProcAddress(module, "HV_ResultText"), nullptr);
        EXPECT_TRUE(FreeLibrary(module));
    }
}

} // namespace
