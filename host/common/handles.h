#pragma once

// The one list of handle owners: the library's own, and those the host
// programs need besides, all on the library's handle template.

#include "interface/unique_handle.h"

#include <cstdio>

#ifdef _WIN32
#include "interface/platform_handles.h"
#endif

namespace hovrel {

inline void CloseStdioFile(std::FILE* file) noexcept {
    std::fclose(file);
}
using UniqueStdioFile = UniqueHandle<std::FILE*, CloseStdioFile>;

#ifdef _WIN32
inline void DestroyKey(BCRYPT_KEY_HANDLE key) noexcept {
    BCryptDestroyKey(key);
}
inline void FreeLocalMemory(void* memory) noexcept {
    LocalFree(memory);
}
inline void CloseFind(HANDLE search) noexcept {
    FindClose(search);
}
inline void CloseRegistryKey(HKEY key) noexcept {
    RegCloseKey(key);
}

// Processes, threads and access tokens close alike.
using UniqueToken = UniqueKernelObject;
using UniqueKey = UniqueHandle<BCRYPT_KEY_HANDLE, DestroyKey>;
// Memory the system allocated with LocalAlloc for the caller to free.
template <typename Pointer> using UniqueLocal = UniqueHandle<Pointer, FreeLocalMemory>;
using UniqueFind = UniqueHandle<HANDLE, CloseFind, -1>;
using UniqueRegistryKey = UniqueHandle<HKEY, CloseRegistryKey>;
#endif

} // namespace hovrel
