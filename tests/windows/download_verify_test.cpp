#include "hovrel_export.h"
#include "support/test_http_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace hovrel::test;

const char kOldContents[] = "the previous package";
const char kEmptyDigest[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

// Records every progress call; optionally sets the cancel flag after a given
// number of calls, and watches how large the file grew.
struct ProgressLog {
    struct Call {
        uint64_t received;
        uint64_t total;
    };
    std::vector<Call> calls;
    std::wstring path;
    uint64_t largestFile = 0;
    int cancelAfter = 0;
    volatile int32_t* cancelFlag = nullptr;

    static void HV_CALL Record(uint64_t received, uint64_t total, void* userData) {
        auto* log = static_cast<ProgressLog*>(userData);
        log->calls.push_back({received, total});
        log->largestFile = std::max(log->largestFile, FileSizeOnDisk(log->path));
        if (log->cancelFlag != nullptr && static_cast<int>(log->calls.size()) == log->cancelAfter) {
            *log->cancelFlag = 1;
        }
    }
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class DownloadVerify : public ::testing::Test {
  protected:
    HV_Result Download(const std::string& target, const std::string& digest, uint64_t size,
                       ProgressLog* log = nullptr, const volatile int32_t* cancel = nullptr) {
        if (log != nullptr) {
            log->path = destination_;
        }
        const std::wstring url = server_.Url(target);
        return HV_EXPORT(HV_DownloadVerify)(url.c_str(), destination_.c_str(), digest.c_str(), size,
                                            log != nullptr ? &ProgressLog::Record : nullptr, log,
                                            cancel);
    }

    TestHttpServer server_;
    TempFolder folder_;
    std::wstring destination_ = folder_.Path(L"package.bin");
};

const char kNoFile[] = "<no file>";

struct DownloadCase {
    const char* name;
    Reply reply;
    std::string digest;
    uint64_t expectedSize;
    HV_Result expected;
    // What the destination, which held kOldContents before, holds after.
    std::string left = kNoFile;
};

TEST_F(DownloadVerify, OutcomesOfSizeDigestAndStatus) {
    const std::string body = PatternBytes(3000, 7);
    const std::string digest = Sha256Hex(body);
    const std::string cut = PatternBytes(400, 8);
    const std::string four = "1234";
    const std::string fourDigest = Sha256Hex(four);
    const std::string thousand = PatternBytes(1000);
    const std::string old = kOldContents;
    const DownloadCase cases[] = {
        {"matching digest, no size", OkResponse(body), digest, 0, HV_Ok, body},
        {"matching digest and size", OkResponse(body), digest, 3000, HV_Ok, body},
        {"chunked, matching size", ChunkedResponse(body), digest, 3000, HV_Ok, body},
        {"upper-case digest", OkResponse(body), Upper(digest), 0, HV_Ok, body},
        {"64 characters then more text", OkResponse(body), digest + "  trailing", 0, HV_Ok, body},
        {"empty body, empty-message digest", OkResponse(""), kEmptyDigest, 0, HV_Ok, ""},
        {"63-character digest", OkResponse(body), digest.substr(0, 63), 0, HV_HashMismatch},
        {"empty digest", OkResponse(body), "", 0, HV_HashMismatch},
        {"other digest", OkResponse(body), Sha256Hex("other"), 0, HV_HashMismatch},
        {"upper-case letter beyond F", OkResponse(""), std::string(kEmptyDigest).replace(0, 1, "G"),
         0, HV_HashMismatch},
        {"Content-Length 1000, expected 999", OkResponse(thousand), Sha256Hex(thousand), 999,
         HV_SizeMismatch, old},
        {"no Content-Length, 4 of 5 bytes", ChunkedResponse(four), fourDigest, 5, HV_SizeMismatch},
        {"cut short, size expected", AnnouncedResponse(1000, cut), Sha256Hex(cut), 1000,
         HV_SizeMismatch},
        {"cut short, no size, digest of what came", AnnouncedResponse(1000, cut), Sha256Hex(cut), 0,
         HV_Ok, cut},
        {"cut short, full digest expected", AnnouncedResponse(1000, cut),
         Sha256Hex(cut + PatternBytes(600)), 0, HV_HashMismatch},
        // Wine's WinHTTP hands over the bytes past the length that arrive
        // with the body's end; they are not part of the body. The server
        // keeps the connection open: the call must end at the length, not
        // wait for a close.
        {"past its Content-Length, digest of the announced body",
         Reply(AnnouncedResponse(3000, body + cut), Ending::KeepOpen), digest, 0, HV_Ok, body},
        {"past its Content-Length, size expected",
         Reply(AnnouncedResponse(3000, body + cut), Ending::KeepOpen), digest, 3000, HV_Ok, body},
        {"past its Content-Length, digest of everything sent", AnnouncedResponse(3000, body + cut),
         Sha256Hex(body + cut), 0, HV_HashMismatch},
        // 2^64 - 1 is the largest length there is; anything above it is no
        // length at all. An overflow check that ignores the last digit turns
        // 2^64 + 1 to 2^64 + 3 into 1 to 3.
        {"Content-Length 2^64-1, size expected", AnnouncedResponse("18446744073709551615", four),
         fourDigest, 4, HV_SizeMismatch, old},
        {"Content-Length 2^64, size expected", AnnouncedResponse("18446744073709551616", four),
         fourDigest, 4, HV_Ok, four},
        {"Content-Length 2^64+1, size expected", AnnouncedResponse("18446744073709551617", four),
         fourDigest, 4, HV_Ok, four},
        {"Content-Length 2^64+3, no size", AnnouncedResponse("18446744073709551619", four),
         fourDigest, 0, HV_Ok, four},
        {"Content-Length of 21 digits, no size", AnnouncedResponse("184467440737095516150", four),
         fourDigest, 0, HV_Ok, four},
        {"reset mid-body", Reply(AnnouncedResponse(1000, cut), Ending::Reset), Sha256Hex(cut), 0,
         HV_NetworkFailure},
        {"404", StatusResponse(404, "Not Found"), digest, 0, HV_HttpStatus, old},
        {"204", StatusResponse(204, "No Content"), kEmptyDigest, 0, HV_HttpStatus, old},
        {"500", StatusResponse(500, "Server Error"), digest, 0, HV_HttpStatus, old},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = "/case" + std::to_string(index++);
        server_.Serve(target, c.reply);
        WriteWholeFile(destination_, kOldContents);
        ProgressLog log;
        const std::size_t keptOpen = server_.ConnectionsTheClientKeptOpen();
        ASSERT_EQ(Download(target, c.digest, c.expectedSize, &log), c.expected);
        EXPECT_EQ(server_.ConnectionsTheClientKeptOpen(), keptOpen) << "waited for the close";
        for (std::size_t i = 1; i < log.calls.size(); ++i) {
            EXPECT_GT(log.calls[i].received, log.calls[i - 1].received) << "call " << i;
        }
        if (c.left == kNoFile) {
            EXPECT_FALSE(FileExists(destination_));
        } else if (c.left == kOldContents) {
            EXPECT_EQ(ReadWholeFile(destination_), kOldContents);
            EXPECT_TRUE(log.calls.empty());
        } else {
            EXPECT_EQ(ReadWholeFile(destination_), c.left);
            EXPECT_EQ(log.calls.empty() ? 0 : log.calls.back().received, c.left.size());
        }
    }
}

TEST_F(DownloadVerify, ProgressTotalIsExpectedSizeWithoutContentLength) {
    server_.Serve("/four", {ChunkedResponse("1234")});
    ProgressLog log;
    EXPECT_EQ(Download("/four", Sha256Hex("1234"), 5, &log), HV_SizeMismatch);
    ASSERT_FALSE(log.calls.empty());
    EXPECT_EQ(log.calls.back().received, 4u);
    for (const auto& call : log.calls) {
        EXPECT_EQ(call.total, 5u);
    }
    EXPECT_FALSE(FileExists(destination_));
}

TEST_F(DownloadVerify, ProgressOncePerChunkUpToTheFileSize) {
    const std::string body = PatternBytes(1 << 20, 9);
    server_.Serve("/big", {OkResponse(body)});
    ProgressLog log;
    ASSERT_EQ(Download("/big", Sha256Hex(body), 0, &log), HV_Ok);
    ASSERT_GT(log.calls.size(), 1u);
    uint64_t previous = 0;
    for (const auto& call : log.calls) {
        EXPECT_GT(call.received, previous);
        EXPECT_EQ(call.total, body.size());
        previous = call.received;
    }
    EXPECT_EQ(log.calls.back().received, body.size());
    EXPECT_EQ(FileSizeOnDisk(destination_), body.size());
    EXPECT_EQ(ReadWholeFile(destination_), body);
}

TEST_F(DownloadVerify, EndlessBodyStopsAtTheExpectedSize) {
    const uint64_t expectedSize = 100000;
    server_.Serve("/endless", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n"
                               "Connection: close\r\n\r\n",
                               Ending::Close, 4096});
    ProgressLog log;
    EXPECT_EQ(Download("/endless", kEmptyDigest, expectedSize, &log), HV_SizeMismatch);
    EXPECT_FALSE(FileExists(destination_));
    ASSERT_FALSE(log.calls.empty());
    EXPECT_LE(log.calls.back().received, expectedSize);
    EXPECT_GT(log.calls.back().received, expectedSize - 16384);
    EXPECT_LE(log.largestFile, expectedSize);
}

// The flag set before the call, or by the progress callback on its second
// call: either way the destination, which held an old file, is gone.
TEST_F(DownloadVerify, CancelledBeforeTheCallOrFromTheProgressCallback) {
    const std::string body = PatternBytes(200000, 2);
    server_.Serve("/p", {OkResponse(body)});
    for (const int cancelAfter : {0, 2}) {
        SCOPED_TRACE(cancelAfter);
        WriteWholeFile(destination_, kOldContents);
        volatile int32_t cancel = cancelAfter == 0 ? 1 : 0;
        ProgressLog log;
        log.cancelAfter = cancelAfter;
        log.cancelFlag = &cancel;
        EXPECT_EQ(Download("/p", Sha256Hex(body), body.size(), &log, &cancel), HV_Cancelled);
        EXPECT_EQ(log.calls.size(), static_cast<std::size_t>(cancelAfter));
        EXPECT_FALSE(FileExists(destination_));
    }
}

struct SlowProgress {
    std::atomic<int> calls{0};
    static void HV_CALL Record(uint64_t, uint64_t, void* userData) {
        ++static_cast<SlowProgress*>(userData)->calls;
        Sleep(2);
    }
};

TEST_F(DownloadVerify, CancelledFromAnotherThread) {
    server_.Serve("/endless", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n"
                               "Connection: close\r\n\r\n",
                               Ending::Close, 4096});
    volatile int32_t cancel = 0;
    SlowProgress progress;
    std::atomic<bool> returned{false};
    std::thread canceller([&] {
        while (progress.calls < 3 && !returned) {
            Sleep(1);
        }
        cancel = 1;
    });
    const std::wstring url = server_.Url("/endless");
    const HV_Result result =
        HV_EXPORT(HV_DownloadVerify)(url.c_str(), destination_.c_str(), kEmptyDigest, 0,
                                     &SlowProgress::Record, &progress, &cancel);
    returned = true;
    canceller.join();
    EXPECT_EQ(result, HV_Cancelled);
    EXPECT_FALSE(FileExists(destination_));
    EXPECT_LT(server_.EndlessBytesSent(), TestHttpServer::kEndlessLimit);
}

TEST_F(DownloadVerify, FailuresBeforeTheFileLeaveItAlone) {
    server_.Serve("/p", {OkResponse("x")});
    const std::wstring url = server_.Url("/p");
    const std::wstring missing = server_.Url("/missing");
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(UnusedPort()) + L"/p";
    const wchar_t* destination = destination_.c_str();
    const struct {
        const char* name;
        const wchar_t* url;
        const wchar_t* destination;
        const char* digest;
        HV_Result expected;
    } cases[] = {
        {"no URL", nullptr, destination, kEmptyDigest, HV_BadArgument},
        {"no destination", url.c_str(), nullptr, kEmptyDigest, HV_BadArgument},
        {"no digest", url.c_str(), destination, nullptr, HV_BadArgument},
        {"malformed URL", L"not a url", destination, kEmptyDigest, HV_BadArgument},
        {"unsupported scheme", L"ftp://127.0.0.1/p", destination, kEmptyDigest, HV_BadArgument},
        {"connection refused", refused.c_str(), destination, kEmptyDigest, HV_NetworkFailure},
        {"404", missing.c_str(), destination, kEmptyDigest, HV_HttpStatus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(destination_, kOldContents);
        EXPECT_EQ(HV_EXPORT(HV_DownloadVerify)(c.url, c.destination, c.digest, 0, nullptr, nullptr,
                                               nullptr),
                  c.expected);
        EXPECT_EQ(ReadWholeFile(destination_), kOldContents);
    }
    // The refused arguments sent nothing: the 404 is the only request.
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/missing");
}

TEST_F(DownloadVerify, MissingFolderIsFileIoAndCreatesNothing) {
    server_.Serve("/p", {OkResponse("x")});
    const std::wstring folder = folder_.Path(L"missing");
    const std::wstring path = folder + L"\\package.bin";
    const std::wstring url = server_.Url("/p");
    EXPECT_EQ(HV_EXPORT(HV_DownloadVerify)(url.c_str(), path.c_str(), Sha256Hex("x").c_str(), 0,
                                           nullptr, nullptr, nullptr),
              HV_FileIo);
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(DownloadVerify, DestinationHeldOpenIsFileIo) {
    server_.Serve("/p", {OkResponse("x")});
    WriteWholeFile(destination_, kOldContents);
    HANDLE held = CreateFileW(destination_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Download("/p", Sha256Hex("x"), 0), HV_FileIo);
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(destination_), kOldContents);
}

} // namespace
