#pragma once

// Who built the installer: its Authenticode signature must be valid and its
// signer certificate must carry one of the named common names, or have the
// pinned SHA-256 thumbprint.

#include <windows.h>

#include <string>
#include <vector>

namespace hovrel::windows {

struct PublisherVerdict {
    bool accepted = false;
    std::string reason; // one line when refused
    std::string signer; // the signer's common name, when there is a signature
};

// `file` is the held package handle, so the bytes checked are the bytes run.
PublisherVerdict CheckPublisher(HANDLE file, const std::wstring& path,
                                const std::vector<std::wstring>& names,
                                const std::string& thumbprintHex);

} // namespace hovrel::windows
