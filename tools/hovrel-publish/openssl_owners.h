#pragma once

#include <openssl/evp.h>

#include <memory>

namespace hovrel::publish {

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using UniquePkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using UniqueMdContext = std::unique_ptr<EVP_MD_CTX, MdContextFree>;

} // namespace hovrel::publish
