#include "signature_url.h"

#include <gtest/gtest.h>

namespace {

TEST(SignatureUrl, PutsSigAtThePathsEnd) {
    const struct {
        const char* manifest;
        const char* signature;
    } cases[] = {
        {"http://h/m.json", "http://h/m.json.sig"},
        {"https://h/a/b/m.json", "https://h/a/b/m.json.sig"},
        {"http://h/m.json?channel=stable", "http://h/m.json.sig?channel=stable"},
        {"http://h/m.json?a=1&b=x.json", "http://h/m.json.sig?a=1&b=x.json"},
        {"http://h/m.json#top", "http://h/m.json.sig"},
        {"http://h/m.json?c=s#top?x", "http://h/m.json.sig?c=s"},
        {"http://127.0.0.1:8080/m.json", "http://127.0.0.1:8080/m.json.sig"},
        {"http://h:8080/m.json?c=s", "http://h:8080/m.json.sig?c=s"},
        // No path is the path "/".
        {"http://h", "http://h/.sig"},
        {"http://h:8080", "http://h:8080/.sig"},
        {"http://h:8080?c=s", "http://h:8080/.sig?c=s"},
        {"https://h#x", "https://h/.sig"},
        {"http://h/", "http://h/.sig"},
        {"http://h/dir/", "http://h/dir/.sig"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hovrel::road::SignatureUrl(c.manifest), c.signature) << c.manifest;
    }
}

} // namespace
