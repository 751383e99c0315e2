#include "signature_url.h"

namespace hovrel::road {

std::string SignatureUrl(const std::string& manifestUrl) {
    const std::string url = manifestUrl.substr(0, manifestUrl.find('#'));
    const std::size_t query = url.find('?');
    std::string path = url.substr(0, query);
    const std::string rest = query == std::string::npos ? "" : url.substr(query);
    const std::size_t scheme = path.find("://");
    if (scheme != std::string::npos && path.find('/', scheme + 3) == std::string::npos) {
        path += '/';
    }
    return path + ".sig" + rest;
}

} // namespace hovrel::road
