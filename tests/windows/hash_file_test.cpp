#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hovrel_export.h"
#include "support/test_support.h"

namespace {

using namespace hovrel::test;

constexpr unsigned char kSentinel = 0xCD;

// A digest buffer larger than the 65 bytes the library may write, prefilled
// so that stray and missing writes both show.
struct DigestBuffer {
    char bytes[80];
    DigestBuffer() { std::memset(bytes, kSentinel, sizeof(bytes)); }
    bool Untouched() const {
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) != kSentinel) {
                return false;
            }
        }
        return true;
    }
    // The written digest, or a note when it is not exactly 64 characters, a
    // NUL and nothing after.
    std::string Digest() const {
        if (bytes[64] != '\0') {
            return "<no NUL at 64>";
        }
        for (std::size_t i = 65; i < sizeof(bytes); ++i) {
            if (static_cast<unsigned char>(bytes[i]) != kSentinel) {
                return "<written past 65 bytes>";
            }
        }
        return std::string(bytes, 64);
    }
};

HV_Result HashFile(const std::wstring& path, DigestBuffer& digest) {
    return HV_EXPORT(HV_HashFile)(path.c_str(), digest.bytes);
}

// Reference files and their digests, written at build time by coreutils'
// sha256sum.
std::vector<std::pair<std::wstring, std::string>> ReferenceFiles() {
    const std::wstring directory = ProgramDirectory() + L"hash_references\\";
    std::istringstream list(ReadWholeFile(directory + L"sha256sums.txt"));
    std::vector<std::pair<std::wstring, std::string>> files;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string digest, name;
        fields >> digest >> name;
        files.emplace_back(directory + std::wstring(name.begin(), name.end()), digest);
    }
    return files;
}

TEST(HashFile, FilesAroundBlockAndBufferBoundariesMatchCoreutils) {
    const auto files = ReferenceFiles();
    ASSERT_EQ(files.size(), 12u) << "reference list missing or incomplete";
    for (const auto& [path, expected] : files) {
        DigestBuffer digest;
        EXPECT_EQ(HashFile(path, digest), HV_Ok);
        EXPECT_EQ(digest.Digest(), expected) << std::string(path.begin(), path.end());
    }
}

TEST(HashFile, NullArgumentsLeaveTheDigestUntouched) {
    TempFolder scratch;
    const std::wstring path = scratch.Path(L"present.bin");
    WriteWholeFile(path, "abc");
    DigestBuffer digest;
    EXPECT_EQ(HV_EXPORT(HV_HashFile)(nullptr, digest.bytes), HV_BadArgument);
    EXPECT_TRUE(digest.Untouched());
    EXPECT_EQ(HV_EXPORT(HV_HashFile)(path.c_str(), nullptr), HV_BadArgument);
    EXPECT_EQ(HV_EXPORT(HV_HashFile)(nullptr, nullptr), HV_BadArgument);
}

TEST(HashFile, PathsThatCannotBeOpenedAreFileErrors) {
    TempFolder scratch;
    const std::wstring subdirectory = scratch.Path(L"folder");
    ASSERT_TRUE(CreateDirectoryW(subdirectory.c_str(), nullptr));
    const std::wstring cases[] = {
        scratch.Path(L"missing.bin"),
        scratch.Path(L"no such folder\\file.bin"),
        subdirectory,
        L"",
    };
    for (const std::wstring& path : cases) {
        DigestBuffer digest;
        EXPECT_EQ(HashFile(path, digest), HV_FileIo) << std::string(path.begin(), path.end());
        EXPECT_TRUE(digest.Untouched());
    }
}

// The file is opened for reading with read sharing only: another reader may
// hold it, a writer or an exclusive holder may not.
TEST(HashFile, SharingWithOtherHandles) {
    struct Case {
        const char* name;
        DWORD access;
        DWORD share;
        HV_Result expected;
    };
    const Case cases[] = {
        {"writer sharing read and write", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         HV_FileIo},
        {"reader sharing read and write", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, HV_Ok},
        {"reader sharing read", GENERIC_READ, FILE_SHARE_READ, HV_Ok},
        {"reader sharing nothing", GENERIC_READ, 0, HV_FileIo},
    };
    TempFolder scratch;
    const std::wstring path = scratch.Path(L"shared.bin");
    WriteWholeFile(path, "abc");
    for (const Case& c : cases) {
        HANDLE other = CreateFileW(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE) << c.name;
        DigestBuffer digest;
        EXPECT_EQ(HashFile(path, digest), c.expected) << c.name;
        if (c.expected == HV_Ok) {
            EXPECT_EQ(digest.Digest(),
                      "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        } else {
            EXPECT_TRUE(digest.Untouched()) << c.name;
        }
        CloseHandle(other);
    }
}

// A file handle left open by a call, on success or on failure, shows here.
TEST(HashFile, HandleCountSteadyOverManyCalls) {
    TempFolder scratch;
    const std::wstring present = scratch.Path(L"present.bin");
    const std::wstring missing = scratch.Path(L"missing.bin");
    WriteWholeFile(present, std::string(100000, 'y'));
    HANDLE writer = CreateFileW(scratch.Path(L"locked.bin").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DigestBuffer digest;
    HashFile(present, digest); // the first call may load system libraries
    const unsigned long before = OpenHandleCount();
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(HashFile(present, digest), HV_Ok);
        ASSERT_EQ(HashFile(missing, digest), HV_FileIo);
        ASSERT_EQ(HashFile(scratch.Path(L"locked.bin"), digest), HV_FileIo);
    }
    EXPECT_EQ(OpenHandleCount(), before);
    CloseHandle(writer);
}

// One thread per reference file; the largest keep the calls overlapping.
TEST(HashFile, ConcurrentCallsEachGetTheirOwnDigest) {
    const auto files = ReferenceFiles();
    std::vector<int> failures(files.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < files.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 10; ++round) {
                DigestBuffer digest;
                if (HashFile(files[t].first, digest) != HV_Ok ||
                    digest.Digest() != files[t].second) {
                    ++failures[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t t = 0; t < files.size(); ++t) {
        EXPECT_EQ(failures[t], 0) << std::string(files[t].first.begin(), files[t].first.end());
    }
}

} // namespace
