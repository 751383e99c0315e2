#pragma once

#include <windows.h>
#include <bcrypt.h>
#include <winhttp.h>

#include "unique_handle.h"

namespace hovrel {

inline void CloseAlgorithmProvider(BCRYPT_ALG_HANDLE algorithm) noexcept {
    BCryptCloseAlgorithmProvider(algorithm, 0);
}

// Files open as INVALID_HANDLE_VALUE on failure; every other kind as null.
using UniqueFile = UniqueHandle<HANDLE, CloseHandle, -1>;
using UniqueKernelObject = UniqueHandle<HANDLE, CloseHandle>;
using UniqueInternet = UniqueHandle<HINTERNET, WinHttpCloseHandle>;
using UniqueAlgorithm = UniqueHandle<BCRYPT_ALG_HANDLE, CloseAlgorithmProvider>;
using UniqueHash = UniqueHandle<BCRYPT_HASH_HANDLE, BCryptDestroyHash>;

} // namespace hovrel
