#include "http/http_get_exchange.h"

#include <string>

#include "http/content_length.h"

namespace hovrel {

namespace {

constexpr DWORD kHostCapacity = 255;
constexpr DWORD kPathCapacity = 2047;

// The header is read as text: the numeric query is 32 bits wide.
std::uint64_t QueryContentLength(HINTERNET request) {
    std::wstring text(64, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX,
                             text.data(), &bytes, WINHTTP_NO_HEADER_INDEX)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return 0;
        }
        text.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH,
                                 WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                                 WINHTTP_NO_HEADER_INDEX)) {
            return 0;
        }
    }
    return ParseContentLength(text.data(), bytes / sizeof(wchar_t));
}

} // namespace

HV_Result HttpGetExchange(const wchar_t* url, HttpExchange& exchange) {
    exchange.contentLength = 0;

    wchar_t hostBuffer[kHostCapacity + 1] = {};
    wchar_t pathBuffer[kPathCapacity + 1] = {};
    URL_COMPONENTS components = {};
    components.dwStructSize = sizeof(components);
    components.lpszHostName = hostBuffer;
    components.dwHostNameLength = kHostCapacity;
    components.lpszUrlPath = pathBuffer;
    components.dwUrlPathLength = kPathCapacity;
    if (!WinHttpCrackUrl(url, 0, 0, &components)) {
        return HV_BadArgument;
    }

    const std::wstring host(hostBuffer);
    std::wstring path(pathBuffer);
    if (path.empty()) {
        path = L"/";
    }
    const INTERNET_PORT port = components.nPort;
    const bool secure = components.nScheme == INTERNET_SCHEME_HTTPS;

    exchange.session.reset(WinHttpOpen(L"Hovrel/1.0", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!exchange.session) {
        return HV_NetworkFailure;
    }
    exchange.connection.reset(WinHttpConnect(exchange.session.get(), host.c_str(), port, 0));
    if (!exchange.connection) {
        return HV_NetworkFailure;
    }
    exchange.request.reset(WinHttpOpenRequest(
        exchange.connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
    if (!exchange.request) {
        return HV_NetworkFailure;
    }
    if (!WinHttpSendRequest(exchange.request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return HV_NetworkFailure;
    }
    if (!WinHttpReceiveResponse(exchange.request.get(), nullptr)) {
        return HV_NetworkFailure;
    }

    DWORD status = 0;
    DWORD statusSize = sizeof(status);
    if (!WinHttpQueryHeaders(
            exchange.request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
            WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX)) {
        return HV_NetworkFailure;
    }
    if (status != 200) {
        return HV_HttpStatus;
    }

    exchange.contentLength = QueryContentLength(exchange.request.get());
    return HV_Ok;
}

} // namespace hovrel
