#include "hovrel.h"

#include <cstdlib>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int32_t Order(const std::string& a, const std::string& b) {
    int32_t order = 2;
    Require(HV_CompareVersion(a.c_str(), b.c_str(), &order) == HV_Ok);
    Require(order >= -1 && order <= 1);
    return order;
}

} // namespace

// The input holds two versions separated by the first NUL (or split in half).
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\0');
    const std::size_t rest = split == std::string::npos ? size / 2 : split + 1;
    if (split == std::string::npos) {
        split = size / 2;
    }
    const std::string a = input.substr(0, split);
    const std::string b = input.substr(rest);
    Require(Order(a, a) == 0);
    Require(Order(a, b) == -Order(b, a));
    return 0;
}
