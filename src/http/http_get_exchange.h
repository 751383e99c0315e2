#pragma once

#include <cstdint>

#include "hovrel.h"
#include "interface/platform_handles.h"

namespace hovrel {

// The open handles of one GET. Declared in opening order, so that leaving
// scope closes the request, then the connection, then the session.
struct HttpExchange {
    UniqueInternet session;
    UniqueInternet connection;
    UniqueInternet request;
    // 0 when the server announced no usable length.
    std::uint64_t contentLength = 0;

    void Close() noexcept {
        request.reset();
        connection.reset();
        session.reset();
    }
};

// Cracks url, sends a GET with the library's user agent and waits for the
// response headers. Returns HV_Ok only for status 200; whatever the result,
// the handles opened so far are left in exchange for the caller.
HV_Result HttpGetExchange(const wchar_t* url, HttpExchange& exchange);

} // namespace hovrel
