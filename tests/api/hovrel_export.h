#pragma once

// Tests call the library's functions through HV_EXPORT(name). The Windows
// build resolves each one by name from the loaded Hovrel.dll, as a host does,
// so the tests also prove the export table and the calling convention; the
// native build calls the linked portable code directly.

#include "hovrel.h"

#if defined(_WIN32)

namespace hovrel::test {

// The address of an export of Hovrel.dll; throws when the module or the
// export is missing, which fails the calling test.
void* LoadExportAddress(const char* name);

template <typename Function> Function LoadExport(const char* name) {
    return reinterpret_cast<Function>(LoadExportAddress(name));
}

} // namespace hovrel::test

#define HV_EXPORT(name) (::hovrel::test::LoadExport<decltype(&::name)>(#name))

#else

#define HV_EXPORT(name) (&::name)

#endif
