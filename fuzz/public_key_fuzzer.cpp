#include "signature_encoding.h"

#include <cstdlib>
#include <cstring>
#include <string>

using namespace hovrel::authenticity;

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

// The input is read both as DER and as text. An accepted DER key must be the
// one encoding of its point; an accepted text key must read back the same
// from its one-line form.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    PublicPoint point{};
    if (ParseSubjectPublicKeyInfo(data, size, point) == KeyProblem::None) {
        const std::vector<std::uint8_t> der = SubjectPublicKeyInfo(point);
        Require(der.size() == size && std::memcmp(der.data(), data, size) == 0);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (ReadPublicKeyText(text, point) == KeyProblem::None) {
        PublicPoint again{};
        Require(ReadPublicKeyText(EncodeBase64(SubjectPublicKeyInfo(point)), again) ==
                    KeyProblem::None &&
                again == point);
    }
    return 0;
}
