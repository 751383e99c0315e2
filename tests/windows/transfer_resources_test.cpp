#include "hovrel_export.h"
#include "support/test_http_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace hovrel::test;

TEST(TransferResources, HandleCountSeesEveryHandle) {
    const unsigned long before = OpenHandleCount();
    HANDLE events[5];
    for (HANDLE& event : events) {
        event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    EXPECT_EQ(OpenHandleCount(), before + 5);
    for (HANDLE event : events) {
        CloseHandle(event);
    }
    EXPECT_EQ(OpenHandleCount(), before);
}

HV_Result Fetch(const std::wstring& url) {
    char buffer[4096];
    int32_t length = 0;
    return HV_EXPORT(HV_FetchManifest)(url.c_str(), buffer, sizeof(buffer), &length);
}

HV_Result Download(const std::wstring& url, const std::wstring& path, const std::string& digest) {
    return HV_EXPORT(HV_DownloadVerify)(url.c_str(), path.c_str(), digest.c_str(), 0, nullptr,
                                        nullptr, nullptr);
}

// Repeats each call many times; a handle left open per call would show as
// hundreds of extra handles, while the platform's own caches stay small.
TEST(TransferResources, RepeatedCallsLeaveNoHandlesOpen) {
    TestHttpServer server;
    TempFolder folder;
    const std::string body = PatternBytes(20000, 5);
    server.Serve("/m", {OkResponse("{\"version\":\"1\"}")});
    server.Serve("/p", {ChunkedResponse(body)});
    server.Serve("/gone", {StatusResponse(404, "Not Found")});
    const std::wstring path = folder.Path(L"p.bin");
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(UnusedPort()) + L"/m";
    const std::string digest = Sha256Hex(body);
    const std::wstring fetchUrl = server.Url("/m");
    const std::wstring packageUrl = server.Url("/p");
    const std::wstring goneUrl = server.Url("/gone");

    struct Case {
        const char* name;
        std::function<HV_Result()> call;
        HV_Result expected;
    };
    const Case cases[] = {
        {"fetch", [&] { return Fetch(fetchUrl); }, HV_Ok},
        {"fetch 404", [&] { return Fetch(goneUrl); }, HV_HttpStatus},
        {"fetch refused", [&] { return Fetch(refused); }, HV_NetworkFailure},
        {"fetch bad URL", [&] { return Fetch(L"not a url"); }, HV_BadArgument},
        {"download", [&] { return Download(packageUrl, path, digest); }, HV_Ok},
        {"download mismatch", [&] { return Download(packageUrl, path, Sha256Hex("x")); },
         HV_HashMismatch},
        {"download 404", [&] { return Download(goneUrl, path, digest); }, HV_HttpStatus},
        {"download refused", [&] { return Download(refused, path, digest); }, HV_NetworkFailure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(c.call(), c.expected);
        }
        const unsigned long before = OpenHandleCount();
        const std::uintptr_t slotBefore = NextWinHttpHandleSlot();
        for (int i = 0; i < 200; ++i) {
            ASSERT_EQ(c.call(), c.expected) << "call " << i;
        }
        Sleep(200);
        const unsigned long after = OpenHandleCount();
        EXPECT_LE(after, before + 10) << "before " << before << ", after " << after;
        EXPECT_EQ(NextWinHttpHandleSlot(), slotBefore);
    }
}

TEST(TransferResources, ConcurrentCallsGetTheirOwnResults) {
    TestHttpServer server;
    TempFolder folder;
    constexpr int kThreads = 6;
    constexpr int kRounds = 8;
    for (int t = 0; t < kThreads; ++t) {
        server.Serve("/m" + std::to_string(t), {OkResponse("manifest " + std::to_string(t))});
        server.Serve("/p" + std::to_string(t), {OkResponse(PatternBytes(30000 + t * 1000, t))});
    }
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::wstring manifestUrl = server.Url("/m" + std::to_string(t));
            const std::wstring packageUrl = server.Url("/p" + std::to_string(t));
            const std::string package = PatternBytes(30000 + t * 1000, t);
            const std::string digest = Sha256Hex(package);
            const std::wstring path = folder.Path(L"p" + std::to_wstring(t) + L".bin");
            const std::string manifest = "manifest " + std::to_string(t);
            for (int round = 0; round < kRounds; ++round) {
                char buffer[256] = {};
                int32_t length = 0;
                if (HV_EXPORT(HV_FetchManifest)(manifestUrl.c_str(), buffer, sizeof(buffer),
                                                &length) != HV_Ok ||
                    std::string(buffer, length) != manifest) {
                    ++failures[t];
                }
                // Every other round expects the wrong size, which must fail
                // only this thread's call.
                const uint64_t size = round % 2 == 0 ? package.size() : package.size() + 1;
                const HV_Result result =
                    HV_EXPORT(HV_DownloadVerify)(packageUrl.c_str(), path.c_str(), digest.c_str(),
                                                 size, nullptr, nullptr, nullptr);
                const bool ok = round % 2 == 0 ? result == HV_Ok && ReadWholeFile(path) == package
                                               : result == HV_SizeMismatch;
                if (!ok) {
                    ++failures[t];
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[t], 0) << "thread " << t;
    }
}

} // namespace
