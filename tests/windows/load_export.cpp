#include "hovrel_export.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace hovrel::test {

void* LoadExportAddress(const char* name) {
    // Loaded once for the whole test program and never unloaded, as a host
    // that keeps the library for its lifetime.
    static const HMODULE module = LoadLibraryW(L"Hovrel.dll");
    if (module == nullptr) {
        throw std::runtime_error("Hovrel.dll cannot be loaded");
    }
    FARPROC address = GetProcAddress(module, name);
    if (address == nullptr) {
        throw std::runtime_error(std::string("Hovrel.dll does not export ") + name);
    }
    return reinterpret_cast<void*>(address);
}

} // namespace hovrel::test
