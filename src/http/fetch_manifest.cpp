#include <cstring>
#include <string>
#include <vector>

#include "http/http_get_exchange.h"
#include "interface/export_guard.h"

namespace hovrel {

namespace {

constexpr std::size_t kBodyCap = HV_MANIFEST_MAX_BYTES;
constexpr std::size_t kBodyReserve = 4096;

// Reads the whole body into body; the handles stay with the caller.
HV_Result ReadBody(HINTERNET request, std::string& body) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) {
        return HV_NetworkFailure;
    }
    while (available != 0) {
        std::vector<char> chunk(available);
        DWORD bytesRead = 0;
        if (!WinHttpReadData(request, chunk.data(), available, &bytesRead)) {
            return HV_NetworkFailure;
        }
        if (bytesRead == 0) {
            break;
        }
        body.append(chunk.data(), bytesRead);
        if (body.size() > kBodyCap) {
            return HV_BadArgument;
        }
        available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            return HV_NetworkFailure;
        }
    }
    return HV_Ok;
}

HV_Result FetchManifest(const wchar_t* url, char* buffer, int32_t bufferLength,
                        int32_t* outLength) {
    std::string body;
    {
        HttpExchange exchange;
        const HV_Result opened = HttpGetExchange(url, exchange);
        if (opened != HV_Ok) {
            return opened;
        }
        body.reserve(kBodyReserve);
        const HV_Result read = ReadBody(exchange.request.get(), body);
        if (read != HV_Ok) {
            return read;
        }
        // A connection closed early ends the body like a complete one; only
        // the announced length tells a truncated manifest from a short one.
        if (exchange.contentLength != 0 && body.size() < exchange.contentLength) {
            return HV_NetworkFailure;
        }
    }
    if (body.size() + 1 > static_cast<std::size_t>(bufferLength)) {
        return HV_BadArgument;
    }
    std::memcpy(buffer, body.data(), body.size());
    buffer[body.size()] = '\0';
    if (outLength != nullptr) {
        *outLength = static_cast<int32_t>(body.size());
    }
    return HV_Ok;
}

} // namespace

} // namespace hovrel

extern "C" HV_API HV_Result HV_CALL HV_FetchManifest(const wchar_t* url, char* buffer,
                                                     int32_t bufferLength, int32_t* outLength) {
    if (url == nullptr || buffer == nullptr || bufferLength <= 1) {
        return HV_BadArgument;
    }
    return hovrel::GuardExport(
        [&] { return hovrel::FetchManifest(url, buffer, bufferLength, outLength); });
}
