// Trusts a CA certificate (DER file) in the current user's Root store of the
// Wine prefix this runs in. The CAs of earlier runs are removed first, through
// the registry store itself and in a store opened and closed on its own:
// under Wine 8 a deletion through the system store collection keeps that
// store from ever writing back, so the new certificate would be lost.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const wchar_t kSubject[] = L"Hovrel Test Root CA";

bool RemovePrevious() {
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0,
                                     CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    if (store == nullptr) {
        return false;
    }
    for (;;) {
        PCCERT_CONTEXT found = CertFindCertificateInStore(
            store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_STR_W, kSubject, nullptr);
        if (found == nullptr) {
            break;
        }
        CertDeleteCertificateFromStore(found);
    }
    const bool committed = CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(store, 0);
    return committed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_ca <certificate.der>\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<unsigned char> der((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
    if (der.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    if (!RemovePrevious()) {
        std::fprintf(stderr, "cannot remove the CAs of earlier runs\n");
        return 1;
    }
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    if (store == nullptr) {
        std::fprintf(stderr, "cannot open the Root store\n");
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "cannot add the certificate\n");
        return 1;
    }
    std::printf("trusted %s\n", argv[1]);
    return 0;
}
