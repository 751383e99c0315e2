#include "test_http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <stdexcept>

namespace hovrel::test {

namespace {

struct WinsockStartup {
    WinsockStartup() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            throw std::runtime_error("WSAStartup failed");
        }
    }
};

void EnsureWinsock() {
    static WinsockStartup startup;
}

void SetTimeouts(SOCKET socket, DWORD milliseconds) {
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&milliseconds),
               sizeof(milliseconds));
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&milliseconds),
               sizeof(milliseconds));
}

bool SendAll(SOCKET socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 16));
        const int n = send(socket, bytes.data() + sent, chunk, 0);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool SendPaced(SOCKET socket, const std::string& bytes, const Pacing& pacing) {
    std::size_t at = 0;
    if (pacing.stallMs != 0) {
        at = std::min(pacing.stallAt, bytes.size());
        if (!SendAll(socket, bytes.substr(0, at))) {
            return false;
        }
        Sleep(pacing.stallMs);
    }
    if (pacing.dripBytes == 0) {
        return SendAll(socket, bytes.substr(at));
    }
    for (; at < bytes.size(); at += pacing.dripBytes) {
        if (!SendAll(socket, bytes.substr(at, pacing.dripBytes))) {
            return false;
        }
        Sleep(pacing.dripMs);
    }
    return true;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

SeenRequest ParseRequest(const std::string& raw) {
    SeenRequest seen;
    seen.raw = raw;
    seen.requestLine = raw.substr(0, raw.find("\r\n"));
    const std::size_t first = seen.requestLine.find(' ');
    const std::size_t last = seen.requestLine.rfind(' ');
    if (first != std::string::npos && last > first) {
        seen.target = seen.requestLine.substr(first + 1, last - first - 1);
    }
    return seen;
}

std::string Head(int status, const std::string& reason, const std::string& headers) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n" + headers +
           "Connection: close\r\n\r\n";
}

} // namespace

std::string SeenRequest::Header(const std::string& name) const {
    const std::string wanted = Lower(name) + ":";
    std::size_t at = raw.find("\r\n");
    while (at != std::string::npos && at + 2 < raw.size()) {
        const std::size_t end = raw.find("\r\n", at + 2);
        const std::string line = raw.substr(at + 2, end - at - 2);
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            const std::size_t value = line.find_first_not_of(' ', wanted.size());
            return value == std::string::npos ? "" : line.substr(value);
        }
        at = end;
    }
    return "";
}

TestHttpServer::TestHttpServer(bool recordRequests) : recordRequests_(recordRequests) {
    EnsureWinsock();
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener_, SOMAXCONN) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    stopping_ = true;
    acceptor_.join();
    closesocket(listener_);
    JoinFinished(true);
}

std::size_t TestHttpServer::ConnectionsTheClientKeptOpen() {
    JoinFinished(true);
    return keptOpen_;
}

// Finished threads are joined as the server goes, so that a long run does not
// pile up thread handles (the handle-count tests count them).
void TestHttpServer::JoinFinished(bool all) {
    std::vector<Connection> finished;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto keep = std::partition(connections_.begin(), connections_.end(),
                                   [all](const Connection& c) { return !all && !*c.done; });
        std::move(keep, connections_.end(), std::back_inserter(finished));
        connections_.erase(keep, connections_.end());
    }
    for (auto& connection : finished) {
        connection.thread.join();
    }
}

std::wstring TestHttpServer::Url(const std::string& target) const {
    const std::string url = "http://127.0.0.1:" + std::to_string(port_) + target;
    return std::wstring(url.begin(), url.end());
}

void TestHttpServer::Serve(const std::string& target, Reply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[target] = std::move(reply);
}

std::vector<SeenRequest> TestHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

Reply TestHttpServer::ReplyFor(const std::string& target) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = replies_.find(target);
    if (found != replies_.end()) {
        return found->second;
    }
    return Reply{StatusResponse(404, "Not Found")};
}

// Polls so that the destructor can stop it without closing a socket that
// another thread is blocked on.
void TestHttpServer::AcceptLoop() {
    while (!stopping_) {
        JoinFinished(false);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait = {0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
            continue;
        }
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            continue;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard<std::mutex> lock(mutex_);
        connections_.push_back(Connection{std::thread([this, client, done] {
                                              ServeConnection(client);
                                              *done = true;
                                          }),
                                          done});
    }
}

void TestHttpServer::ServeConnection(SOCKET client) {
    SetTimeouts(client, 5000);
    std::string raw;
    char buffer[4096];
    while (raw.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0) {
            closesocket(client);
            return;
        }
        raw.append(buffer, static_cast<std::size_t>(n));
    }
    const SeenRequest seen = ParseRequest(raw.substr(0, raw.find("\r\n\r\n") + 4));
    if (recordRequests_) {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(seen);
    }
    const Reply reply = ReplyFor(seen.target);
    bool open = SendPaced(client, reply.bytes, reply.pacing);
    if (open && reply.endlessChunk != 0) {
        char size[32];
        snprintf(size, sizeof(size), "%zx\r\n", reply.endlessChunk);
        const std::string chunk = size + std::string(reply.endlessChunk, 'e') + "\r\n";
        while (open && endlessSent_ < kEndlessLimit) {
            open = SendAll(client, chunk);
            if (open) {
                endlessSent_ += reply.endlessChunk;
            }
        }
    }
    if (reply.ending == Ending::Reset) {
        // Give the client time to read what was sent and wait for more, so
        // that the reset meets a pending read.
        Sleep(300);
        linger abort = {1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                   sizeof(abort));
    } else {
        // Wait for the client to close, so that it never sees a reset for
        // bytes it did not read yet.
        if (reply.ending == Ending::Close) {
            shutdown(client, SD_SEND);
        }
        int received;
        while ((received = recv(client, buffer, sizeof(buffer), 0)) > 0) {
        }
        if (received < 0 && reply.ending == Ending::KeepOpen) {
            ++keptOpen_;
        }
    }
    closesocket(client);
}

std::string OkResponse(const std::string& body) {
    return Head(200, "OK", "Content-Length: " + std::to_string(body.size()) + "\r\n") + body;
}

std::string ChunkedResponse(const std::string& body) {
    std::string out = Head(200, "OK", "Transfer-Encoding: chunked\r\n");
    const std::size_t piece = 1000;
    for (std::size_t at = 0; at < body.size(); at += piece) {
        const std::string part = body.substr(at, piece);
        char size[32];
        snprintf(size, sizeof(size), "%zx\r\n", part.size());
        out += size + part + "\r\n";
    }
    return out + "0\r\n\r\n";
}

std::string StatusResponse(int status, const std::string& reason) {
    const std::string body = "status " + std::to_string(status);
    if (status == 204) {
        return Head(status, reason, "");
    }
    return Head(status, reason, "Content-Length: " + std::to_string(body.size()) + "\r\n") + body;
}

std::string AnnouncedResponse(std::size_t contentLength, const std::string& body) {
    return AnnouncedResponse(std::to_string(contentLength), body);
}

std::string AnnouncedResponse(const std::string& contentLength, const std::string& body) {
    return Head(200, "OK", "Content-Length: " + contentLength + "\r\n") + body;
}

std::string RedirectResponse(int status, const std::string& location) {
    return Head(status, "Redirect", "Location: " + location + "\r\nContent-Length: 0\r\n");
}

unsigned short UnusedPort() {
    EnsureWinsock();
    // Bound but never listening, and never closed: connections to the port are
    // refused, and no other server, in this process or another, can take it.
    SOCKET reserved = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    bind(reserved, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(reserved, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

} // namespace hovrel::test
