#pragma once

#include <string>

namespace hovrel::road {

// Where a manifest's signature is: ".sig" after the manifest URL's path,
// its query kept after that, its fragment dropped (no server sees it). A
// URL without a path has the path "/".
std::string SignatureUrl(const std::string& manifestUrl);

} // namespace hovrel::road
