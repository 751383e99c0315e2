// The cost of authenticating a manifest in hovrel-update: reading the key and
// verifying the signature with CNG, through the host's own code.
// Arguments: KEY MANIFEST SIGNATURE [ROUNDS]. Prints verify_ms=MEDIAN.

#include "bench_support.h"
#include "signature_check.h"

#include <fstream>
#include <iterator>

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: signature_bench KEY MANIFEST SIGNATURE [ROUNDS]\n");
        return 1;
    }
    const auto read = [](const wchar_t* path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    };
    const std::string manifest = read(argv[2]);
    const std::string signature = read(argv[3]);
    const int rounds = argc > 4 ? _wtoi(argv[4]) : 200;
    std::vector<double> milliseconds;
    for (int i = 0; i < rounds; ++i) {
        const double start = hovrel::bench::NowSeconds();
        const auto keys = hovrel::windows::LoadTrustedKeys({argv[1]});
        std::size_t index = 0;
        if (!keys ||
            hovrel::windows::VerifyManifestSignature(manifest, signature, keys.value(), index) !=
                hovrel::windows::SignatureVerdict::Verified) {
            std::fprintf(stderr, "the signature does not verify: %s\n", keys.reason().c_str());
            return 1;
        }
        milliseconds.push_back((hovrel::bench::NowSeconds() - start) * 1000);
    }
    std::printf("verify_ms=%.3f\n", hovrel::bench::Median(milliseconds));
    return 0;
}
