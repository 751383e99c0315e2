#pragma once

// The host's own decisions: who takes part in a rollout, whether an update
// applies, and how each outcome maps to the program's exit code. No platform
// calls here, so all of it is tested natively.

#include "hovrel.h"

#include <array>
#include <cstdint>
#include <string>

namespace hovrel::road {

// The documented exit codes of hovrel-update.
enum ExitCode : int {
    ExitOk = 0,              // done, or no update applies
    ExitUsage = 1,           // bad command line
    ExitFetch = 2,           // the manifest could not be fetched
    ExitManifest = 3,        // the manifest is not usable
    ExitDownload = 4,        // the package could not be downloaded or verified
    ExitInstall = 5,         // the installer failed or could not run
    ExitCancelled = 6,       // Ctrl+C, --timeout, declined prompt, installer cancelled
    ExitRestartNeeded = 7,   // installed; a restart finishes it
    ExitUpdateAvailable = 8, // check only: an update applies to this machine
    ExitRefused = 9,         // the manifest or the package was refused
};

// What the rollout bucket is hashed over.
std::string RolloutInput(const std::string& machineId, const std::string& manifestVersion);

// The first four digest bytes as a big-endian number, modulo 100.
std::uint32_t RolloutBucket(const std::array<std::uint8_t, 32>& digest);

// A mandatory update reaches every machine; otherwise bucket < rollout.
bool IsInRollout(std::uint32_t bucket, std::int32_t rollout, bool mandatory);

enum class Verdict {
    UpToDate, // the manifest's version is not newer than the installed one
    NotInRollout,
    Available,
    NeedsNewerWindows, // the manifest's "min_windows" is newer than this Windows
};

// order is HV_CompareVersion(manifest version, installed version).
Verdict DecideUpdate(std::int32_t order, bool inRollout);

// Which road a failure happened on; the same code means different things.
enum class Step { Fetch, Parse, Download, Verify };

ExitCode ExitCodeFor(Step step, HV_Result result);

// One sentence on what the user can do about a failed step.
const char* AdviceFor(Step step, HV_Result result);

struct InstallerOutcome {
    ExitCode exitCode;
    const char* summary;
    const char* advice; // empty when nothing needs doing
};

// Reads HV_RunInstaller's result and the installer's exit code (0xFFFFFFFF
// when no process ran). 3010 and 1641 are success with a restart pending,
// 1223 and 1602 a cancel by the user, 1618 another installation running.
InstallerOutcome ClassifyInstaller(HV_Result result, std::uint32_t installerExitCode);

// The same for msiexec running an .msi package: 1618 asks for a retry later,
// and any other failure points at msiexec's log.
InstallerOutcome ClassifyMsiexec(HV_Result result, std::uint32_t msiexecExitCode);

} // namespace hovrel::road
