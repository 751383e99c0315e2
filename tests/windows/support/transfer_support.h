#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace hovrel::test {

// SHA-256 of bytes as 64 lower-case hex characters, computed by the test
// itself through CNG.
std::string Sha256Hex(const std::string& bytes);

// Deterministic bytes covering every byte value, NUL included.
std::string PatternBytes(std::size_t size, unsigned seed = 1);

// A fresh folder under the temporary directory, removed with its files.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

  private:
    std::wstring folder_;
};

bool FileExists(const std::wstring& path);
// The whole file, or throws when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The size as the directory reports it, without opening the file.
std::uint64_t FileSizeOnDisk(const std::wstring& path);

// Handles open in this process. Wine's GetProcessHandleCount reports 0, so
// there the system's handle table is counted instead.
unsigned long OpenHandleCount();

// Wine's WinHTTP handles are not kernel handles: it hands out the lowest free
// slot of its own table, so the value of a fresh session handle rises when
// handles leak. Returns 0 where that does not hold (outside Wine).
std::uintptr_t NextWinHttpHandleSlot();

} // namespace hovrel::test
