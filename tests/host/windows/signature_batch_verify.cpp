// Verifies a batch of signatures in one process through hovrel-update's own
// key reading and CNG verification. Each line of the list file:
//   EXPECTED KEY MESSAGE SIGNATURE
// EXPECTED is 1 (must verify) or 0 (must not); KEY is a key file or the
// one-line key; the others are files. Prints the counts; exits 0 only when
// every line came out as expected.

#include "signature_check.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.good() || file.eof();
}

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: signature_batch_verify LIST\n");
        return 2;
    }
    std::ifstream list(argv[1]);
    std::string line;
    int valid = 0, refused = 0, wrong = 0;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        int expected = 0;
        std::string key, messagePath, signaturePath, message, signature;
        fields >> expected >> key >> messagePath >> signaturePath;
        const auto keys = hovrel::windows::LoadTrustedKeys({Widen(key)});
        std::size_t index = 0;
        if (!ReadFile(messagePath, message) || !ReadFile(signaturePath, signature) || !keys) {
            std::printf("cannot read: %s %s\n", line.c_str(), keys.reason().c_str());
            ++wrong;
            continue;
        }
        const bool verified =
            hovrel::windows::VerifyManifestSignature(message, signature, keys.value(), index) ==
            hovrel::windows::SignatureVerdict::Verified;
        if (verified != (expected == 1)) {
            std::printf("unexpected %s: %s\n", verified ? "success" : "failure", line.c_str());
            ++wrong;
        }
        ++(verified ? valid : refused);
    }
    std::printf("%d verified, %d refused, %d not as expected\n", valid, refused, wrong);
    return wrong == 0 && valid > 0 && refused > 0 ? 0 : 1;
}
