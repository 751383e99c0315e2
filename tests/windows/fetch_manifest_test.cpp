#include "hovrel_export.h"
#include "support/test_http_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace hovrel::test;

constexpr char kUntouched = 'Z';
constexpr int32_t kUntouchedLength = -7;

struct Fetched {
    HV_Result result;
    std::vector<char> buffer;
    int32_t outLength;
};

Fetched Fetch(const std::wstring& url, int32_t bufferLength) {
    Fetched fetched{HV_InternalError,
                    std::vector<char>(static_cast<std::size_t>(bufferLength) + 16, kUntouched),
                    kUntouchedLength};
    fetched.result = HV_EXPORT(HV_FetchManifest)(url.c_str(), fetched.buffer.data(), bufferLength,
                                                 &fetched.outLength);
    return fetched;
}

bool Untouched(const Fetched& fetched) {
    for (char c : fetched.buffer) {
        if (c != kUntouched) {
            return false;
        }
    }
    return fetched.outLength == kUntouchedLength;
}

struct FetchCase {
    const char* name;
    Reply reply;
    int32_t bufferLength;
    HV_Result expected;
    std::string body; // what the buffer must hold on HV_Ok
};

TEST(FetchManifest, ResponsesAndBodies) {
    const std::string text = "{\"version\":\"1.2.3\"}";
    const std::string withNuls = std::string("a\0b\0\0c", 6);
    const std::string exactCap = PatternBytes(65536, 3);
    const std::string overCap = PatternBytes(65537, 4);
    const std::string partial = PatternBytes(400, 5);
    const FetchCase cases[] = {
        {"with Content-Length", {OkResponse(text)}, 1024, HV_Ok, text},
        {"chunked, no Content-Length", {ChunkedResponse(text)}, 1024, HV_Ok, text},
        {"body with NUL bytes", {OkResponse(withNuls)}, 64, HV_Ok, withNuls},
        {"empty body", {OkResponse("")}, 64, HV_Ok, ""},
        {"one byte in a two-byte buffer", {OkResponse("x")}, 2, HV_Ok, "x"},
        {"two bytes in a two-byte buffer", {OkResponse("xy")}, 2, HV_BadArgument, ""},
        {"65536 bytes, buffer 65537", {OkResponse(exactCap)}, 65537, HV_Ok, exactCap},
        {"65536 bytes chunked, buffer 65537", {ChunkedResponse(exactCap)}, 65537, HV_Ok, exactCap},
        {"65536 bytes, buffer 65536", {OkResponse(exactCap)}, 65536, HV_BadArgument, ""},
        {"65537 bytes, large buffer", {OkResponse(overCap)}, 200000, HV_BadArgument, ""},
        {"65537 bytes chunked, large buffer",
         {ChunkedResponse(overCap)},
         200000,
         HV_BadArgument,
         ""},
        {"body cut short by a close",
         {AnnouncedResponse(1000, partial)},
         4096,
         HV_NetworkFailure,
         ""},
        {"body one byte short of its Content-Length",
         {AnnouncedResponse(text.size() + 1, text)},
         4096,
         HV_NetworkFailure,
         ""},
        {"body cut short by a reset",
         {AnnouncedResponse(1000, partial), Ending::Reset},
         4096,
         HV_NetworkFailure,
         ""},
        {"204", {StatusResponse(204, "No Content")}, 64, HV_HttpStatus, ""},
        {"206", {StatusResponse(206, "Partial Content")}, 64, HV_HttpStatus, ""},
        {"404", {StatusResponse(404, "Not Found")}, 64, HV_HttpStatus, ""},
        {"500", {StatusResponse(500, "Internal Server Error")}, 64, HV_HttpStatus, ""},
    };
    TestHttpServer server;
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = "/case" + std::to_string(index++);
        server.Serve(target, c.reply);
        const Fetched fetched = Fetch(server.Url(target), c.bufferLength);
        ASSERT_EQ(fetched.result, c.expected);
        if (c.expected != HV_Ok) {
            EXPECT_TRUE(Untouched(fetched));
            continue;
        }
        EXPECT_EQ(fetched.outLength, static_cast<int32_t>(c.body.size()));
        EXPECT_EQ(std::memcmp(fetched.buffer.data(), c.body.data(), c.body.size()), 0);
        EXPECT_EQ(fetched.buffer[c.body.size()], '\0');
        for (std::size_t i = c.body.size() + 1; i < fetched.buffer.size(); ++i) {
            ASSERT_EQ(fetched.buffer[i], kUntouched) << "byte " << i << " beyond the NUL";
        }
        std::vector<char> buffer(static_cast<std::size_t>(c.bufferLength));
        EXPECT_EQ(HV_EXPORT(HV_FetchManifest)(server.Url(target).c_str(), buffer.data(),
                                              c.bufferLength, nullptr),
                  HV_Ok)
            << "without outLength";
    }
}

// Not an error; how many of the extra bytes arrive is the HTTP layer's
// business (Wine's reads on to the close, Windows stops at the length).
TEST(FetchManifest, BodyPastItsContentLengthIsNotAnError) {
    TestHttpServer server;
    server.Serve("/m", {AnnouncedResponse(5, "helloEXTRA")});
    const Fetched fetched = Fetch(server.Url("/m"), 64);
    ASSERT_EQ(fetched.result, HV_Ok);
    ASSERT_GE(fetched.outLength, 5);
    EXPECT_EQ(std::string(fetched.buffer.data(), 5), "hello");
    EXPECT_EQ(fetched.buffer[fetched.outLength], '\0');
}

TEST(FetchManifest, RefusesBadArgumentsBeforeAnyTraffic) {
    TestHttpServer server;
    server.Serve("/m", {OkResponse("x")});
    const std::wstring url = server.Url("/m");
    char buffer[16];
    std::memset(buffer, kUntouched, sizeof(buffer));
    int32_t outLength = kUntouchedLength;
    const auto fetch = HV_EXPORT(HV_FetchManifest);
    EXPECT_EQ(fetch(nullptr, buffer, 16, &outLength), HV_BadArgument);
    EXPECT_EQ(fetch(url.c_str(), nullptr, 16, &outLength), HV_BadArgument);
    for (int32_t length : {1, 0, -1, INT32_MIN}) {
        EXPECT_EQ(fetch(url.c_str(), buffer, length, &outLength), HV_BadArgument) << length;
    }
    EXPECT_EQ(outLength, kUntouchedLength);
    EXPECT_EQ(buffer[0], kUntouched);
    EXPECT_TRUE(server.Requests().empty());
}

TEST(FetchManifest, SendsTheExpectedRequest) {
    TestHttpServer server;
    const std::string target = "/updates/stable/manifest.json?channel=beta&arch=x64";
    server.Serve(target, {OkResponse("{}")});
    server.Serve("/", {OkResponse("root")});
    ASSERT_EQ(Fetch(server.Url(target), 64).result, HV_Ok);
    ASSERT_EQ(Fetch(server.Url(""), 64).result, HV_Ok);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(requests[0].requestLine, "GET " + target + " HTTP/1.1");
    EXPECT_EQ(requests[0].target, target);
    EXPECT_EQ(requests[1].requestLine, "GET / HTTP/1.1");
    for (const auto& request : requests) {
        EXPECT_EQ(request.Header("User-Agent"), "Hovrel/1.0");
        EXPECT_EQ(request.Header("Host"), host);
        EXPECT_EQ(request.Header("Referer"), "");
        EXPECT_EQ(request.Header("Accept"), "");
    }
}

TEST(FetchManifest, UrlsThatFailBeforeABodyLeaveTheBuffer) {
    const std::wstring longHost = L"http://" + std::wstring(255, L'h') + L"/m";
    const std::wstring longPath = L"http://127.0.0.1:1/" + std::wstring(2046, L'p');
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(UnusedPort()) + L"/m";
    const struct {
        std::wstring url;
        HV_Result expected;
    } cases[] = {
        {L"", HV_BadArgument},
        {L"not a url", HV_BadArgument},
        {L"ftp://127.0.0.1/m", HV_BadArgument},
        {L"//127.0.0.1/m", HV_BadArgument},
        {L"http://", HV_BadArgument},
        {L"http://127.0.0.1:65536/m", HV_BadArgument},
        {longHost, HV_BadArgument},
        {longPath, HV_BadArgument},
        {refused, HV_NetworkFailure},
    };
    for (const auto& c : cases) {
        const Fetched fetched = Fetch(c.url, 64);
        EXPECT_EQ(fetched.result, c.expected) << std::string(c.url.begin(), c.url.end());
        EXPECT_TRUE(Untouched(fetched));
    }
}

TEST(FetchManifest, LongestPathThatFitsReachesTheServer) {
    TestHttpServer server;
    const std::string target = "/" + std::string(2045, 'p');
    server.Serve(target, {OkResponse("long")});
    const Fetched fetched = Fetch(server.Url(target), 64);
    ASSERT_EQ(fetched.result, HV_Ok);
    EXPECT_STREQ(fetched.buffer.data(), "long");
}

} // namespace
