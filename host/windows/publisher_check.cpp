#include "publisher_check.h"

#include "sha256.h"
#include "utf8.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <array>
#include <cstdio>

namespace hovrel::windows {

namespace {

std::string RefusalFor(LONG status) {
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    switch (static_cast<HRESULT>(status)) {
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN:
        return std::string("the package is not signed (") + code + ")";
    case TRUST_E_BAD_DIGEST:
        return std::string("the package was changed after it was signed (") + code + ")";
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_CHAINING:
        return std::string("the signature's certificate chain is not trusted here (") + code + ")";
    case CERT_E_EXPIRED:
        return std::string("the signing certificate has expired (") + code + ")";
    default:
        return std::string("the signature is not valid (") + code + ")";
    }
}

// Reads the signer's certificate out of the verification's state data.
common::Result<std::string> JudgeSigner(HANDLE stateData, const std::vector<std::wstring>& names,
                                        const std::string& thumbprintHex) {
    using Verdict = common::Result<std::string>;
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
    CRYPT_PROVIDER_SGNR* signer =
        provider != nullptr ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    if (signer == nullptr || signer->csCertChain == 0 || signer->pasCertChain == nullptr ||
        signer->pasCertChain[0].pCert == nullptr) {
        return Verdict::Failure("the signer's certificate cannot be read");
    }
    const CERT_CONTEXT* certificate = signer->pasCertChain[0].pCert;
    wchar_t name[256] = {};
    CertGetNameStringW(certificate, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(szOID_COMMON_NAME),
                       name, 256);
    const std::wstring commonName = name;
    std::string signerName;
    if (!common::WideToUtf8(commonName, signerName)) {
        return Verdict::Failure("the signer's common name is not valid text");
    }
    // Given together, --publisher and --publisher-thumbprint must both match.
    if (!names.empty()) {
        bool named = false;
        for (const auto& wanted : names) {
            named = named || (!commonName.empty() && commonName == wanted);
        }
        if (!named) {
            return Verdict::Failure("the package is signed by \"" + signerName +
                                    "\", not by a publisher named with --publisher");
        }
    }
    if (!thumbprintHex.empty()) {
        std::string thumbprint;
        const std::string_view encoded(reinterpret_cast<const char*>(certificate->pbCertEncoded),
                                       certificate->cbCertEncoded);
        if (!common::Sha256Hex(encoded, thumbprint)) {
            return Verdict::Failure("SHA-256 of the signer's certificate failed");
        }
        if (thumbprint != thumbprintHex) {
            return Verdict::Failure("the package is signed by \"" + signerName +
                                    "\" with a certificate of another thumbprint (SHA-256 " +
                                    thumbprint + ")");
        }
    }
    return signerName;
}

} // namespace

common::Result<std::string> CheckPublisher(HANDLE file, const std::wstring& path,
                                           const std::vector<std::wstring>& names,
                                           const std::string& thumbprintHex) {
    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file;
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    common::Result<std::string> verdict =
        status == ERROR_SUCCESS ? JudgeSigner(data.hWVTStateData, names, thumbprintHex)
                                : common::Result<std::string>::Failure(RefusalFor(status));
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return verdict;
}

} // namespace hovrel::windows
