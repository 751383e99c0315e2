#pragma once

// What the DLL's tests, the benchmarks and the stress programs share: a
// reference SHA-256, test bytes, a scratch folder, whole-file helpers and
// the handle-leak detector.

#include <windows.h>

#include <bcrypt.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace hovrel::test {

// SHA-256 straight over CNG, with nothing of the library in it: the reference
// the library's digests are checked against, and the benchmarks' baseline.
class ReferenceSha256 {
  public:
    ReferenceSha256();
    ~ReferenceSha256();
    ReferenceSha256(const ReferenceSha256&) = delete;
    ReferenceSha256& operator=(const ReferenceSha256&) = delete;
    void Update(const void* data, std::size_t size);
    // 64 lower-case hex characters.
    std::string FinishHex();

  private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

std::string Sha256Hex(const std::string& bytes);

// Deterministic bytes covering every byte value, NUL included.
std::string PatternBytes(std::size_t size, unsigned seed = 1);

// The folder of the running program, with a trailing backslash.
std::wstring ProgramDirectory();

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

// The helpers throw when the file cannot be read or written, so a test that
// depends on a file fails where the file went wrong.
bool FileExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The size as the directory reports it, without opening the file.
std::uint64_t FileSizeOnDisk(const std::wstring& path);

// Kernel handles open in this process. Wine's GetProcessHandleCount reports 0,
// so there this process's own handle values are probed one by one; the
// system-wide handle list is never asked for, because under Wine 8 that
// query can crash the wineserver while another process of the prefix starts.
unsigned long OpenHandleCount();

// Wine's WinHTTP handles are not kernel handles: it hands out the lowest free
// slot of its own table, so the value of a fresh session handle rises when
// handles leak. Returns 0 where that does not hold (outside Wine).
std::uintptr_t NextWinHttpHandleSlot();

} // namespace hovrel::test
