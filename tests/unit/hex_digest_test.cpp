#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "integrity/hex_digest.h"

namespace {

using hovrel::DigestMatches;
using hovrel::RenderHexDigest;

std::string Render(const unsigned char (&digest)[32]) {
    char out[hovrel::kHexDigestSize];
    std::memset(out, 'Z', sizeof(out));
    RenderHexDigest(digest, out);
    return std::string(out, sizeof(out));
}

TEST(RenderHexDigest, EveryByteValueRendersAsTwoLowerCaseDigitsHighNibbleFirst) {
    static const char kHex[] = "0123456789abcdef";
    // Eight digests of 32 bytes cover the byte values 0..255 once each.
    for (int block = 0; block < 8; ++block) {
        unsigned char digest[32];
        std::string expected;
        for (int i = 0; i < 32; ++i) {
            const int value = block * 32 + i;
            digest[i] = static_cast<unsigned char>(value);
            expected += kHex[value >> 4];
            expected += kHex[value & 0x0F];
        }
        expected += '\0';
        EXPECT_EQ(Render(digest), expected) << "block " << block;
    }
}

const char kComputed[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

// Exact, upper-case, short, empty and longer texts are rows of the DLL's
// download test; these are the ones it does not have.
TEST(DigestMatches, ComparesSixtyFourCharacters) {
    const std::string same = kComputed;
    const struct {
        const char* name;
        std::string expected;
        bool matches;
    } cases[] = {
        {"64 characters then a hex digit", same + "0", true},
        {"last character differs", same.substr(0, 63) + "4", false},
        {"first character differs", "f" + same.substr(1), false},
        {"lower-case letter for a digit", same.substr(0, 5) + "a" + same.substr(6), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigestMatches(kComputed, c.expected.c_str()), c.matches) << c.name;
    }
}

TEST(DigestMatches, UpperCaseLettersBeyondFDoNotFoldOntoLowerCase) {
    // Both sides fold alike, so a computed text that is not hex shows the rule.
    struct Case {
        char computed;
        char expected;
        bool matches;
    };
    const Case cases[] = {
        {'a', 'A', true},  {'f', 'F', true}, {'g', 'G', false},
        {'z', 'Z', false}, {'A', 'a', true}, {'G', 'g', false},
    };
    for (const Case& c : cases) {
        std::string computed(64, '0');
        std::string expected(64, '0');
        computed[20] = c.computed;
        expected[20] = c.expected;
        EXPECT_EQ(DigestMatches(computed.c_str(), expected.c_str()), c.matches)
            << c.computed << " vs " << c.expected;
    }
}

TEST(DigestMatches, ComputedNulIsAMismatchEvenWhenExpectedEndsThere) {
    EXPECT_FALSE(DigestMatches("", ""));
    const std::string shortComputed(10, 'a');
    EXPECT_FALSE(DigestMatches(shortComputed.c_str(), shortComputed.c_str()));
}

// Places text at the very end of a readable page followed by an inaccessible
// one, so that reading one byte past it faults.
class GuardedText {
  public:
    explicit GuardedText(const std::string& text) {
        page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        void* base =
            mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED) {
            return;
        }
        base_ = static_cast<char*>(base);
        if (mprotect(base_ + page_, page_, PROT_NONE) != 0) {
            return;
        }
        text_ = base_ + page_ - text.size();
        std::memcpy(text_, text.data(), text.size());
    }
    ~GuardedText() {
        if (base_ != nullptr) {
            munmap(base_, 2 * page_);
        }
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    const char* get() const { return text_; }

  private:
    std::size_t page_ = 0;
    char* base_ = nullptr;
    char* text_ = nullptr;
};

TEST(DigestMatches, ReadsNoExpectedCharacterAfterAMismatchOrPastSixtyFour) {
    const std::string full = kComputed;
    struct Case {
        const char* name;
        std::string bytes; // placed so that its last byte ends the readable page
        bool matches;
    };
    const Case cases[] = {
        {"mismatch at the first character", std::string("x\0", 2), false},
        {"short text ends at its NUL", std::string("e3b0\0", 5), false},
        {"mismatch in the middle", full.substr(0, 30) + "x", false},
        {"exactly 64 characters and no NUL", full, true},
    };
    for (const Case& c : cases) {
        GuardedText guarded(c.bytes);
        ASSERT_NE(guarded.get(), nullptr) << c.name;
        EXPECT_EQ(DigestMatches(kComputed, guarded.get()), c.matches) << c.name;
    }
}

} // namespace
