#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hovrel::test {

// The folder of the running test program, with a trailing backslash.
std::wstring ProgramDirectory();

// A file path in a folder of its own under the temporary directory, removed
// with everything in it when the object goes.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// What can be seen of the process's open handles: the system's count where
// it reports one (Wine 8 reports 0), and the values that the next few new
// handles receive, which shift while any handle is leaked because Wine hands
// out the lowest free slot.
struct HandleSnapshot {
    DWORD count = 0;
    std::vector<std::uintptr_t> nextHandles;
    bool operator==(const HandleSnapshot& other) const {
        return count == other.count && nextHandles == other.nextHandles;
    }
};

HandleSnapshot TakeHandleSnapshot();

} // namespace hovrel::test
