#include "package_file.h"

#include "integrity/hex_digest.h"
#include "package_hold.h"

#include <vector>

namespace hovrel::windows {

common::Result<std::wstring> AbsolutePath(const std::wstring& path) {
    using Failure = common::Result<std::wstring>;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (path.empty() || needed == 0) {
        return Failure::Failure("cannot make the package path absolute (error " +
                                std::to_string(GetLastError()) + "); check --out");
    }
    std::vector<wchar_t> full(needed);
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return Failure::Failure("cannot make the package path absolute; check --out");
    }
    return std::wstring(full.data(), length);
}

HV_Result HashMatches(const std::wstring& path, const char* sha256) {
    char digest[HV_HEX_DIGEST_SIZE] = {};
    const HV_Result result = HV_HashFile(path.c_str(), digest);
    if (result == HV_Ok && !hovrel::DigestMatches(digest, sha256)) {
        return HV_HashMismatch;
    }
    return result;
}

road::PackageKind ReadPackageKind(HANDLE file) {
    unsigned char bytes[8] = {};
    OVERLAPPED start = {};
    DWORD read = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &read, &start)) {
        return road::PackageKind::Unknown;
    }
    return road::KindOfPackage(bytes, read);
}

std::wstring PartialDownloadPath(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".partial";
}

common::Status ProtectedCopy::Make(HANDLE held, const std::wstring& fileName) {
    const common::Status created = folder_.CreateProtected();
    if (!created) {
        return created;
    }
    const std::wstring path = folder_.Path() + L"\\" + fileName;
    {
        const hovrel::UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            return common::Status::Failure("cannot create the installer's copy (error " +
                                           std::to_string(GetLastError()) + ")");
        }
        // Read through the held handle: the bytes copied are the bytes verified.
        std::vector<unsigned char> buffer(1 << 16);
        OVERLAPPED at = {};
        ULONGLONG offset = 0;
        for (;;) {
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD read = 0;
            if (!ReadFile(held, buffer.data(), static_cast<DWORD>(buffer.size()), &read, &at)) {
                if (GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                }
                return common::Status::Failure("cannot read the package to copy it (error " +
                                               std::to_string(GetLastError()) + ")");
            }
            if (read == 0) {
                break;
            }
            DWORD written = 0;
            if (!WriteFile(out.get(), buffer.data(), read, &written, nullptr) || written != read) {
                return common::Status::Failure("cannot write the installer's copy (error " +
                                               std::to_string(GetLastError()) + ")");
            }
            offset += read;
        }
    }
    copy_ = HoldPackage(path);
    if (!copy_) {
        return common::Status::Failure("cannot open the installer's copy (error " +
                                       std::to_string(GetLastError()) + ")");
    }
    path_ = path;
    return common::Status::Ok();
}

} // namespace hovrel::windows
