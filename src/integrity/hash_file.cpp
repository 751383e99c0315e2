#include <vector>

#include "hovrel.h"
#include "integrity/sha256_hasher.h"
#include "interface/export_guard.h"
#include "interface/platform_handles.h"

namespace {

constexpr DWORD kReadBlockSize = 0x10000;

HV_Result HashOpenFile(hovrel::UniqueFile& file, char* digest) {
    hovrel::Sha256Hasher hasher;
    if (!hasher.Begin()) {
        file.reset();
        return HV_InternalError;
    }
    // One block for the whole file: memory does not grow with its size.
    std::vector<unsigned char> buffer(kReadBlockSize);
    for (;;) {
        DWORD bytesRead = 0;
        if (!ReadFile(file.get(), buffer.data(), kReadBlockSize, &bytesRead, nullptr)) {
            file.reset();
            return HV_FileIo;
        }
        if (bytesRead == 0) {
            file.reset();
            return hasher.Finish(digest) ? HV_Ok : HV_InternalError;
        }
        if (!hasher.Update(buffer.data(), bytesRead)) {
            file.reset();
            return HV_InternalError;
        }
    }
}

} // namespace

extern "C" HV_API HV_Result HV_CALL HV_HashFile(const wchar_t* path, char* digest) {
    return hovrel::GuardExport([&]() -> HV_Result {
        if (path == nullptr || digest == nullptr) {
            return HV_BadArgument;
        }
        // Readers may share the file, writers may not: the digest describes
        // one fixed content.
        hovrel::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return HV_FileIo;
        }
        return HashOpenFile(file, digest);
    });
}
