#include "hovrel.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

template <std::size_t Capacity> void RequireTerminated(const char (&field)[Capacity]) {
    Require(std::memchr(field, '\0', Capacity) != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    HV_Manifest record;
    std::memset(&record, 0xCD, sizeof record);
    const HV_Result result = HV_ParseManifest(text.c_str(), &record);
    Require(result == HV_Ok || result == HV_ManifestParse);
    RequireTerminated(record.version);
    RequireTerminated(record.url);
    RequireTerminated(record.sha256);
    for (unsigned char b : record.reserved) {
        Require(b == 0);
    }
    Require(record.mandatory == 0 || record.mandatory == 1);
    if (result == HV_ManifestParse) {
        Require(record.size == 0 && record.rollout == 0 && record.mandatory == 0);
    } else if (std::strstr(text.c_str(), "rollout") == nullptr) {
        Require(record.rollout == 100);
    }
    return 0;
}
