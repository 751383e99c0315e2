// HV_HashFile against a bare ReadFile + CNG loop over the same file, runs
// interleaved so that both see the same machine.
#include <cstdlib>

#include "bench_support.h"
#include "hovrel.h"

using namespace hovrel::bench;

namespace {

std::string BareHashFile(const wchar_t* path, DWORD blockSize) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "";
    }
    std::vector<unsigned char> block(blockSize);
    BareSha256 hash;
    DWORD bytesRead = 0;
    while (ReadFile(file, block.data(), blockSize, &bytesRead, nullptr) && bytesRead != 0) {
        hash.Update(block.data(), bytesRead);
    }
    CloseHandle(file);
    return hash.FinishHex();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hash_bench FILE RUNS\n");
        return 1;
    }
    const std::wstring path = Widen(argv[1]);
    const int runs = std::atoi(argv[2]);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes);
    const unsigned long long size =
        (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;

    struct Contender {
        const char* name;
        DWORD blockSize; // 0: the library
        std::vector<double> seconds;
        std::string digest;
    };
    std::vector<Contender> contenders = {
        {"HV_HashFile", 0, {}, ""},
        {"bare CNG loop, 64 KiB reads", 0x10000, {}, ""},
        {"bare CNG loop, 1 MiB reads", 0x100000, {}, ""},
    };
    for (int run = 0; run < runs; ++run) {
        for (Contender& contender : contenders) {
            const double start = NowSeconds();
            if (contender.blockSize == 0) {
                char digest[HV_HEX_DIGEST_SIZE] = {};
                if (HV_HashFile(path.c_str(), digest) != HV_Ok) {
                    std::fprintf(stderr, "HV_HashFile failed\n");
                    return 1;
                }
                contender.digest = digest;
            } else {
                contender.digest = BareHashFile(path.c_str(), contender.blockSize);
            }
            contender.seconds.push_back(NowSeconds() - start);
        }
    }

    const double ceiling = std::min(Median(contenders[1].seconds), Median(contenders[2].seconds));
    std::printf("| %-28s | %10s | %8s | %15s |\n", "contender", "median s", "MB/s", "vs bare loop");
    std::printf("|------------------------------|------------|----------|-----------------|\n");
    for (const Contender& contender : contenders) {
        const double median = Median(contender.seconds);
        std::printf("| %-28s | %10.3f | %8.1f | %15.3f |\n", contender.name, median,
                    MegabytesPerSecond(size, median), ceiling / median);
        if (contender.digest != contenders[0].digest) {
            std::fprintf(stderr, "digests differ: %s\n", contender.name);
            return 1;
        }
    }
    std::printf("digest %s, %d runs each, %llu bytes\n", contenders[0].digest.c_str(), runs, size);
    std::printf("bare_seconds=%.6f\n", ceiling);
    return 0;
}
