// HV_ParseManifest and HV_CompareVersion calls per second on realistic input:
// a 1 KiB manifest and a 60 KiB one (long release notes and per-platform
// entries before the keys the parser wants).
#include <cstdlib>
#include <cstring>

#include "bench_support.h"
#include "hovrel.h"

using namespace hovrel::bench;

namespace {

std::string Manifest(std::size_t targetSize) {
    std::string notes;
    std::string platforms;
    const std::string head = "{\n  \"name\": \"Example App\",\n  \"channel\": \"stable\",\n";
    const std::string tail =
        "  \"version\": \"4.12.3.1870\",\n"
        "  \"url\": \"https://downloads.example.com/app/4.12.3/ExampleApp-4.12.3-x64-setup.exe\",\n"
        "  \"sha256\": \"9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08\",\n"
        "  \"size\": 187436544,\n  \"rollout\": 35,\n  \"mandatory\": false\n}\n";
    for (int i = 0; head.size() + platforms.size() + notes.size() + tail.size() < targetSize; ++i) {
        if (i % 4 == 0) {
            platforms += "    {\"os\": \"windows\", \"arch\": \"x64\", \"min\": \"10.0." +
                         std::to_string(17763 + i) + "\", \"tags\": [\"a\", \"b\", 3, true]},\n";
        } else {
            notes += "- Fixed \\\"issue\\\" #" + std::to_string(1000 + i) +
                     ": a crash when {braces} and [brackets] appear in names\\n";
        }
    }
    return head + "  \"platforms\": [\n" + platforms + "    {}\n  ],\n  \"notes\": \"" + notes +
           "\",\n" + tail;
}

template <typename Call> double CallsPerSecond(Call call) {
    // Batches sized to about a tenth of a second; the median of five.
    unsigned long long batch = 1;
    for (;;) {
        const double start = NowSeconds();
        for (unsigned long long i = 0; i < batch; ++i) {
            call();
        }
        if (NowSeconds() - start > 0.1) {
            break;
        }
        batch *= 2;
    }
    std::vector<double> rates;
    for (int run = 0; run < 5; ++run) {
        const double start = NowSeconds();
        for (unsigned long long i = 0; i < batch; ++i) {
            call();
        }
        rates.push_back(static_cast<double>(batch) / (NowSeconds() - start));
    }
    return Median(rates);
}

} // namespace

int main() {
    std::printf("| %-44s | %8s | %14s | %10s |\n", "call", "input", "calls/s", "MB/s");
    std::printf("|----------------------------------------------|----------|----------------|"
                "------------|\n");
    for (std::size_t size : {std::size_t{1024}, std::size_t{60 * 1024}}) {
        const std::string text = Manifest(size);
        HV_Manifest record;
        if (HV_ParseManifest(text.c_str(), &record) != HV_Ok || record.size != 187436544 ||
            record.rollout != 35) {
            std::fprintf(stderr, "the %zu-byte manifest does not parse as expected\n", size);
            return 1;
        }
        const double rate = CallsPerSecond([&] { HV_ParseManifest(text.c_str(), &record); });
        std::printf("| %-44s | %8zu | %14.0f | %10.1f |\n", "HV_ParseManifest", text.size(), rate,
                    rate * static_cast<double>(text.size()) / 1e6);
    }
    const struct {
        const char* a;
        const char* b;
    } pairs[] = {{"4.12.3.1870", "4.12.3.1871"},
                 {"10.0.19045", "10.0.19045"},
                 {"2.1", "2.1.0.0"},
                 {"2024.11.5", "2024.2.17"}};
    for (const auto& pair : pairs) {
        int32_t order = 0;
        const double rate = CallsPerSecond([&] { HV_CompareVersion(pair.a, pair.b, &order); });
        const std::string label = std::string("HV_CompareVersion ") + pair.a + " vs " + pair.b;
        std::printf("| %-44s | %8zu | %14.0f | %10s |\n", label.c_str(),
                    std::strlen(pair.a) + std::strlen(pair.b), rate, "");
    }
    return 0;
}
