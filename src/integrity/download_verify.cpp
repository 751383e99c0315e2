#include <new>
#include <vector>

#include "http/http_get_exchange.h"
#include "integrity/hex_digest.h"
#include "integrity/sha256_hasher.h"
#include "interface/export_guard.h"

namespace hovrel {

namespace {

struct DownloadRequest {
    const wchar_t* destinationPath;
    const char* expectedSha256;
    std::uint64_t expectedSize;
    HV_ProgressCallback progress;
    void* userData;
    const volatile int32_t* cancelFlag;
};

// Streams the body into file and hasher, chunk by chunk. received counts the
// bytes written; the loop never writes past a nonzero expected size, and
// stops at a nonzero Content-Length: Wine's WinHTTP reads on past it to the
// close, Windows does not, and the bytes past it are not the body.
HV_Result StreamBody(HINTERNET request, HANDLE file, Sha256Hasher& hasher,
                     const DownloadRequest& call, std::uint64_t contentLength, std::uint64_t total,
                     std::uint64_t& received) {
    for (;;) {
        if (call.cancelFlag != nullptr && *call.cancelFlag != 0) {
            return HV_Cancelled;
        }
        if (contentLength != 0 && received == contentLength) {
            return HV_Ok;
        }
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            return HV_NetworkFailure;
        }
        if (available == 0) {
            return HV_Ok;
        }
        std::vector<unsigned char> chunk;
        try {
            chunk.resize(available);
        } catch (const std::bad_alloc&) {
            return HV_InternalError;
        }
        DWORD bytesRead = 0;
        if (!WinHttpReadData(request, chunk.data(), available, &bytesRead)) {
            return HV_NetworkFailure;
        }
        if (bytesRead == 0) {
            return HV_Ok;
        }
        if (contentLength != 0 && bytesRead > contentLength - received) {
            bytesRead = static_cast<DWORD>(contentLength - received);
        }
        // A body without a length could run on forever; past the expected
        // size it can only fail, so it is not written at all.
        if (call.expectedSize != 0 && bytesRead > call.expectedSize - received) {
            return HV_SizeMismatch;
        }
        DWORD written = 0;
        if (!WriteFile(file, chunk.data(), bytesRead, &written, nullptr) || written != bytesRead) {
            return HV_FileIo;
        }
        if (!hasher.ready() || !hasher.Update(chunk.data(), bytesRead)) {
            return HV_InternalError;
        }
        received += bytesRead;
        if (call.progress != nullptr) {
            call.progress(received, total, call.userData);
        }
    }
}

// Deletes the destination when the call fails after creating it. Declared
// before the file handle, so the file is closed before it is deleted, on
// every path including an allocation failure.
class DestinationCleanup {
  public:
    explicit DestinationCleanup(const wchar_t* path) : path_(path) {}
    DestinationCleanup(const DestinationCleanup&) = delete;
    DestinationCleanup& operator=(const DestinationCleanup&) = delete;
    ~DestinationCleanup() {
        if (armed_) {
            DeleteFileW(path_);
        }
    }
    void Arm() { armed_ = true; }
    void Keep() { armed_ = false; }

  private:
    const wchar_t* path_;
    bool armed_ = false;
};

HV_Result Verify(Sha256Hasher& hasher, const DownloadRequest& call, std::uint64_t received) {
    if (call.expectedSize != 0 && received != call.expectedSize) {
        return HV_SizeMismatch;
    }
    char digest[kHexDigestSize] = {};
    if (!hasher.Finish(digest)) {
        return HV_InternalError;
    }
    if (!DigestMatches(digest, call.expectedSha256)) {
        return HV_HashMismatch;
    }
    return HV_Ok;
}

HV_Result DownloadVerify(const wchar_t* url, const DownloadRequest& call) {
    HttpExchange exchange;
    const HV_Result opened = HttpGetExchange(url, exchange);
    if (opened != HV_Ok) {
        return opened;
    }
    if (call.expectedSize != 0 && exchange.contentLength != 0 &&
        call.expectedSize != exchange.contentLength) {
        return HV_SizeMismatch;
    }

    DestinationCleanup cleanup(call.destinationPath);
    UniqueFile file(CreateFileW(call.destinationPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return HV_FileIo;
    }
    cleanup.Arm();

    Sha256Hasher hasher;
    if (!hasher.Begin()) {
        return HV_InternalError;
    }

    const std::uint64_t total =
        exchange.contentLength != 0 ? exchange.contentLength : call.expectedSize;
    std::uint64_t received = 0;
    const HV_Result streamed = StreamBody(exchange.request.get(), file.get(), hasher, call,
                                          exchange.contentLength, total, received);
    FlushFileBuffers(file.get());
    file.reset();
    exchange.Close();
    if (streamed != HV_Ok) {
        return streamed;
    }

    const HV_Result verified = Verify(hasher, call, received);
    if (verified == HV_Ok) {
        cleanup.Keep();
    }
    return verified;
}

} // namespace

} // namespace hovrel

extern "C" HV_API HV_Result HV_CALL HV_DownloadVerify(const wchar_t* url,
                                                      const wchar_t* destinationPath,
                                                      const char* expectedSha256,
                                                      uint64_t expectedSize,
                                                      HV_ProgressCallback progress, void* userData,
                                                      const volatile int32_t* cancelFlag) {
    if (url == nullptr || destinationPath == nullptr || expectedSha256 == nullptr) {
        return HV_BadArgument;
    }
    const hovrel::DownloadRequest call{destinationPath, expectedSha256, expectedSize,
                                       progress,        userData,       cancelFlag};
    return hovrel::GuardExport([&] { return hovrel::DownloadVerify(url, call); });
}
