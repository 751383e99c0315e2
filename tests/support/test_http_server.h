#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace hovrel::test {

// How the server ends a connection after its scripted bytes.
enum class Ending {
    Close,    // orderly shutdown (FIN)
    Reset,    // SO_LINGER 0, so the peer sees a reset
    KeepOpen, // no FIN: held until the client closes, or the server gives up after 5 s
};

// When the scripted bytes go out: all at once by default.
struct Pacing {
    std::size_t stallAt = 0;   // offset into the scripted bytes
    DWORD stallMs = 0;         // nonzero: wait this long at stallAt
    std::size_t dripBytes = 0; // nonzero: the bytes after stallAt go in pieces of this size
    DWORD dripMs = 0;          // wait after each piece
};

struct Reply {
    Reply(std::string bytes = "", Ending ending = Ending::Close, std::size_t endlessChunk = 0,
          Pacing pacing = {})
        : bytes(std::move(bytes)), ending(ending), endlessChunk(endlessChunk), pacing(pacing) {}

    std::string bytes;
    Ending ending = Ending::Close;
    // Nonzero: after bytes, keep sending chunked-encoding chunks of this many
    // bytes until the client goes away or kEndlessLimit bytes have been sent.
    std::size_t endlessChunk = 0;
    Pacing pacing;
};

// A request as the server received it.
struct SeenRequest {
    std::string raw;         // everything up to and including the blank line
    std::string requestLine; // e.g. "GET /a HTTP/1.1"
    std::string target;      // the request target of the request line
    std::string Header(const std::string& name) const; // "" when absent
};

// An HTTP/1.1 server on 127.0.0.1, on a thread inside the test program. Each
// connection is served on its own thread with the reply scripted for its
// request target; unknown targets get a 404.
class TestHttpServer {
  public:
    static constexpr std::size_t kEndlessLimit = 8u << 20;

    // A soak passes false: the log of every request is what would grow.
    explicit TestHttpServer(bool recordRequests = true);
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    unsigned short port() const { return port_; }
    std::wstring Url(const std::string& target) const;
    void Serve(const std::string& target, Reply reply);
    std::vector<SeenRequest> Requests() const;
    std::size_t EndlessBytesSent() const { return endlessSent_.load(); }
    // KeepOpen connections that the client never closed, once every
    // connection so far has ended.
    std::size_t ConnectionsTheClientKeptOpen();

  private:
    void AcceptLoop();
    void ServeConnection(SOCKET client);
    Reply ReplyFor(const std::string& target) const;

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    bool recordRequests_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::size_t> endlessSent_{0};
    std::atomic<std::size_t> keptOpen_{0};
    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    std::vector<SeenRequest> requests_;
    struct Connection {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void JoinFinished(bool all);
    std::vector<Connection> connections_;
    std::thread acceptor_;
};

// Scripted responses; every one announces "Connection: close".
std::string OkResponse(const std::string& body);
std::string ChunkedResponse(const std::string& body);
std::string StatusResponse(int status, const std::string& reason);
// Announces contentLength but carries body, whatever its length.
std::string AnnouncedResponse(std::size_t contentLength, const std::string& body);
std::string AnnouncedResponse(const std::string& contentLength, const std::string& body);
// A redirect (301, 302, 307...) to location, with an empty body.
std::string RedirectResponse(int status, const std::string& location);

// A port on 127.0.0.1 that refuses connections, reserved for the rest of the
// process.
unsigned short UnusedPort();

} // namespace hovrel::test
