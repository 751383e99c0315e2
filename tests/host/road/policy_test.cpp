#include "policy.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace hovrel::road;

TEST(Rollout, BucketIsTheFirstFourBytesBigEndianModulo100) {
    const struct {
        std::array<std::uint8_t, 32> digest;
        std::uint32_t bucket;
    } cases[] = {
        {{0x00, 0x00, 0x00, 0x00}, 0},
        {{0x00, 0x00, 0x00, 0x63}, 99},
        {{0x00, 0x00, 0x00, 0x64}, 0},
        {{0x00, 0x00, 0x01, 0x00}, 56},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 95},
        // Read little-endian these would give 4; bytes after the fourth do not count.
        {{0xC4, 0x6C, 0x23, 0x64, 0xFF, 0xFF}, 84},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RolloutBucket(c.digest), c.bucket);
    }
}

TEST(Rollout, MachineIsInWhenBucketBelowRolloutOrUpdateMandatory) {
    const struct {
        std::uint32_t bucket;
        std::int32_t rollout;
        bool mandatory;
        bool in;
    } cases[] = {
        {0, 0, false, false},   {0, 1, false, true},    {24, 25, false, true},
        {25, 25, false, false}, {99, 100, false, true}, {99, 250, false, true},
        {0, -1, false, false},  {99, 0, true, true},    {50, -5, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInRollout(c.bucket, c.rollout, c.mandatory), c.in)
            << c.bucket << " " << c.rollout << " " << c.mandatory;
    }
}

TEST(Decision, OnlyANewerVersionInsideTheRolloutIsAvailable) {
    const struct {
        std::int32_t order;
        bool inRollout;
        Verdict verdict;
    } cases[] = {
        {-1, true, Verdict::UpToDate}, {0, true, Verdict::UpToDate},
        {0, false, Verdict::UpToDate}, {1, false, Verdict::NotInRollout},
        {1, true, Verdict::Available},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideUpdate(c.order, c.inRollout), c.verdict) << c.order << " " << c.inRollout;
    }
}

TEST(ExitCodes, EachStepHasItsCodeAndCancelIsAlwaysSix) {
    const struct {
        Step step;
        HV_Result result;
        ExitCode exit;
    } cases[] = {
        {Step::Fetch, HV_NetworkFailure, ExitFetch},
        {Step::Fetch, HV_HttpStatus, ExitFetch},
        {Step::Fetch, HV_BadArgument, ExitFetch},
        {Step::Parse, HV_ManifestParse, ExitManifest},
        {Step::Download, HV_HashMismatch, ExitDownload},
        {Step::Download, HV_SizeMismatch, ExitDownload},
        {Step::Download, HV_NetworkFailure, ExitDownload},
        {Step::Download, HV_FileIo, ExitDownload},
        {Step::Download, HV_Cancelled, ExitCancelled},
        {Step::Verify, HV_FileIo, ExitDownload},
        {Step::Verify, HV_HashMismatch, ExitDownload},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExitCodeFor(c.step, c.result), c.exit) << c.result;
    }
}

TEST(ExitCodes, DownloadAdviceSaysThatARejectedPackageIsGone) {
    for (HV_Result result : {HV_HashMismatch, HV_SizeMismatch, HV_Cancelled}) {
        EXPECT_NE(std::string(AdviceFor(Step::Download, result)).find("deleted"), std::string::npos)
            << result;
    }
}

TEST(Installer, ExitCodesAreExplained) {
    const struct {
        bool msi;
        HV_Result result;
        std::uint32_t code;
        ExitCode exit;
        const char* summaryPart;
    } cases[] = {
        {false, HV_Ok, 0, ExitOk, "successfully"},
        {false, HV_InstallerFailed, 3010, ExitRestartNeeded, "restart"},
        {false, HV_InstallerFailed, 1641, ExitRestartNeeded, "restart"},
        {false, HV_InstallerFailed, 1223, ExitCancelled, "cancelled by the user"},
        {false, HV_InstallerFailed, 1602, ExitCancelled, "cancelled by the user"},
        {false, HV_InstallerFailed, 1618, ExitInstall, "Another installation"},
        {false, HV_InstallerFailed, 1, ExitInstall, "failed"},
        {false, HV_InstallerFailed, 1603, ExitInstall, "failed"},
        {false, HV_InstallerFailed, 0xFFFFFFFFu, ExitInstall, "could not be started"},
        {false, HV_BadArgument, 0xFFFFFFFFu, ExitInstall, "could not be run"},
        {true, HV_Ok, 0, ExitOk, "successfully"},
        {true, HV_InstallerFailed, 3010, ExitRestartNeeded, "restart"},
        {true, HV_InstallerFailed, 1641, ExitRestartNeeded, "restart"},
        {true, HV_InstallerFailed, 1223, ExitCancelled, "cancelled by the user"},
        {true, HV_InstallerFailed, 1602, ExitCancelled, "cancelled by the user"},
        {true, HV_InstallerFailed, 1618, ExitInstall, "Another installation"},
        {true, HV_InstallerFailed, 1603, ExitInstall, "MSI installation failed"},
        {true, HV_InstallerFailed, 0xFFFFFFFFu, ExitInstall, "msiexec could not be started"},
    };
    for (const auto& c : cases) {
        const InstallerOutcome outcome =
            c.msi ? ClassifyMsiexec(c.result, c.code) : ClassifyInstaller(c.result, c.code);
        EXPECT_EQ(outcome.exitCode, c.exit) << c.code;
        EXPECT_NE(std::string(outcome.summary).find(c.summaryPart), std::string::npos) << c.code;
        EXPECT_EQ(std::string(outcome.advice).empty(), c.exit == ExitOk) << c.code;
    }
    EXPECT_NE(
        std::string(ClassifyInstaller(HV_InstallerFailed, 0xFFFFFFFFu).advice).find("--elevate"),
        std::string::npos);
    EXPECT_NE(std::string(ClassifyMsiexec(HV_InstallerFailed, 1618).advice).find("Retry later"),
              std::string::npos);
}

} // namespace
