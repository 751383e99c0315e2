#include "staged_update.h"

#include "hovrel.h"
#include "library_limits.h"
#include "package_folder.h"
#include "package_name.h"
#include "stage.h"
#include "utf8.h"

#include "interface/platform_handles.h"

#include <windows.h>

namespace hovrel::windows {

namespace {

std::wstring LocalAppData() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", path, MAX_PATH + 1);
    return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(path, length);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// At most the manifest's limit: a signature is far smaller.
bool ReadSmallFile(const std::wstring& path, std::string& bytes) {
    const hovrel::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > static_cast<LONGLONG>(common::kManifestMaxBytes)) {
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes.empty() ||
           (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    const hovrel::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.get());
}

std::string Text(const std::wstring& path) {
    std::string text;
    return common::WideToUtf8(path, text) ? text : std::string("the stage's folder");
}

common::Status Failure(const std::string& what, const std::wstring& path) {
    return common::Status::Failure(what + " " + Text(path) + " (error " +
                                   std::to_string(GetLastError()) + ")");
}

} // namespace

StagedUpdate::StagedUpdate(const std::wstring& product) {
    const std::wstring base = LocalAppData();
    if (!base.empty()) {
        product_ = base + L"\\Hovrel\\" + product;
        folder_ = product_ + L"\\staged";
        next_ = product_ + L"\\staged.new";
    }
}

bool StagedUpdate::Exists() const {
    return !folder_.empty() && GetFileAttributesW(folder_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool StagedUpdate::Read(std::string& manifest, std::string& signature) const {
    const std::wstring signaturePath = folder_ + L"\\" + road::kStagedSignature;
    signature.clear();
    return ReadSmallFile(folder_ + L"\\" + road::kStagedManifest, manifest) &&
           (!IsFile(signaturePath) || ReadSmallFile(signaturePath, signature));
}

std::wstring StagedUpdate::PackagePath() const {
    const std::wstring name = folder_ + L"\\" + road::kStagedPackage;
    for (const road::PackageKind kind : {road::PackageKind::Program, road::PackageKind::Msi}) {
        const std::wstring path = road::PathForKind(name, kind);
        if (IsFile(path)) {
            return path;
        }
    }
    return std::wstring();
}

std::string StagedUpdate::Version() const {
    std::string manifest;
    std::string signature;
    HV_Manifest fields{};
    if (!Read(manifest, signature) || HV_ParseManifest(manifest.c_str(), &fields) != HV_Ok) {
        return std::string();
    }
    return fields.version;
}

common::Status StagedUpdate::BeginNext(std::wstring& packagePath) {
    if (folder_.empty()) {
        return common::Status::Failure("cannot read %LOCALAPPDATA%, where the stage goes");
    }
    RemoveFolderAndFiles(next_);
    for (const std::wstring& folder :
         {product_.substr(0, product_.find_last_of(L'\\')), product_}) {
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return Failure("cannot create", folder);
        }
    }
    const common::Status created = CreatePrivateFolder(next_);
    if (!created) {
        return created;
    }
    packagePath = next_ + L"\\" + road::kStagedPackage;
    return common::Status::Ok();
}

common::Status StagedUpdate::CommitNext(const std::string& manifest, const std::string& signature) {
    const common::Status placed = PlaceNext(manifest, signature);
    if (!placed) {
        RemoveFolderAndFiles(next_);
    }
    return placed;
}

common::Status StagedUpdate::PlaceNext(const std::string& manifest, const std::string& signature) {
    const std::wstring manifestPath = next_ + L"\\" + road::kStagedManifest;
    if (!WriteNewFile(manifestPath, manifest)) {
        return Failure("cannot write", manifestPath);
    }
    const std::wstring signaturePath = next_ + L"\\" + road::kStagedSignature;
    if (!signature.empty() && !WriteNewFile(signaturePath, signature)) {
        return Failure("cannot write", signaturePath);
    }
    RemoveFolderAndFiles(folder_);
    if (!MoveFileExW(next_.c_str(), folder_.c_str(), 0)) {
        return Failure("cannot put the new stage in place of", folder_);
    }
    return common::Status::Ok();
}

void StagedUpdate::Remove() {
    if (!folder_.empty()) {
        RemoveFolderAndFiles(folder_);
        RemoveFolderAndFiles(next_);
    }
}

} // namespace hovrel::windows
