#include "policy.h"

namespace hovrel::road {

std::string RolloutInput(const std::string& machineId, const std::string& manifestVersion) {
    return machineId + "\n" + manifestVersion;
}

std::uint32_t RolloutBucket(const std::array<std::uint8_t, 32>& digest) {
    const std::uint32_t head = (std::uint32_t{digest[0]} << 24) | (std::uint32_t{digest[1]} << 16) |
                               (std::uint32_t{digest[2]} << 8) | std::uint32_t{digest[3]};
    return head % 100;
}

bool IsInRollout(std::uint32_t bucket, std::int32_t rollout, bool mandatory) {
    if (mandatory) {
        return true;
    }
    return rollout > 0 && bucket < static_cast<std::uint32_t>(rollout);
}

Verdict DecideUpdate(std::int32_t order, bool inRollout) {
    if (order <= 0) {
        return Verdict::UpToDate;
    }
    return inRollout ? Verdict::Available : Verdict::NotInRollout;
}

ExitCode ExitCodeFor(Step step, HV_Result result) {
    if (result == HV_Cancelled) {
        return ExitCancelled;
    }
    switch (step) {
    case Step::Fetch:
        return ExitFetch;
    case Step::Parse:
        return ExitManifest;
    case Step::Download:
    case Step::Verify:
        break;
    }
    return ExitDownload;
}

namespace {

const char* FetchAdvice(HV_Result result) {
    switch (result) {
    case HV_BadArgument:
        return "Check the --manifest address (http:// or https://); a manifest may be at most "
               "64 KiB.";
    case HV_NetworkFailure:
        return "Check the network connection and that the update server is reachable, then try "
               "again.";
    case HV_HttpStatus:
        return "The server did not hand out the manifest; check the --manifest address.";
    default:
        return "Try again; if it keeps failing, tell the publisher.";
    }
}

const char* DownloadAdvice(HV_Result result) {
    switch (result) {
    case HV_BadArgument:
        return "The manifest's package address is not a usable http(s) URL; tell the publisher.";
    case HV_NetworkFailure:
        return "The transfer failed; check the network connection and try again.";
    case HV_HttpStatus:
        return "The server did not hand out the package; try again later or tell the publisher.";
    case HV_FileIo:
        return "The package file could not be written; check --out, free disk space and "
               "permissions.";
    case HV_HashMismatch:
        return "The package is corrupt or was tampered with and has been deleted; try again, and "
               "tell the publisher if it persists.";
    case HV_SizeMismatch:
        return "The package is not the size the manifest states and has been deleted; try again "
               "later.";
    case HV_Cancelled:
        return "The download was stopped and the partial file deleted; run the command again to "
               "retry.";
    default:
        return "The system's SHA-256 provider failed or memory ran out; try again.";
    }
}

const char* VerifyAdvice(HV_Result result) {
    switch (result) {
    case HV_FileIo:
        return "The package could not be read; run download first, or check --out.";
    case HV_HashMismatch:
        return "The package at --out is not the one the manifest names; run download again.";
    default:
        return "The system's SHA-256 provider failed or memory ran out; try again.";
    }
}

} // namespace

const char* AdviceFor(Step step, HV_Result result) {
    switch (step) {
    case Step::Fetch:
        return FetchAdvice(result);
    case Step::Parse:
        return "The manifest lacks a \"version\", \"url\" or \"sha256\" text; tell the publisher.";
    case Step::Download:
        return DownloadAdvice(result);
    case Step::Verify:
        break;
    }
    return VerifyAdvice(result);
}

InstallerOutcome ClassifyInstaller(HV_Result result, std::uint32_t installerExitCode) {
    if (result == HV_Ok) {
        return {ExitOk, "The installer finished successfully.", ""};
    }
    if (result != HV_InstallerFailed) {
        return {ExitInstall, "The installer could not be run.", "Check the package path."};
    }
    switch (installerExitCode) {
    case 3010:
    case 1641:
        return {ExitRestartNeeded, "Installed; Windows must restart to finish the update.",
                "Restart the computer to complete the update."};
    case 1223:
    case 1602:
        return {ExitCancelled, "The installation was cancelled by the user.",
                "Run the update again to install it."};
    case 1618:
        return {ExitInstall, "Another installation is already running.",
                "Wait until it has finished, then run the update again."};
    case 0xFFFFFFFFu:
        return {ExitInstall, "The installer could not be started.",
                "Windows would not start the package: check that it is a Windows installer "
                "(32- or 64-bit) or an .msi package, and use --elevate if it needs administrator "
                "rights."};
    default:
        return {ExitInstall, "The installer failed.",
                "Run the installer by hand or read its log to see what went wrong."};
    }
}

InstallerOutcome ClassifyMsiexec(HV_Result result, std::uint32_t msiexecExitCode) {
    if (result == HV_InstallerFailed && msiexecExitCode == 1618) {
        return {ExitInstall, "Another installation is already running.",
                "Retry later, once it has finished."};
    }
    if (result == HV_InstallerFailed && msiexecExitCode == 0xFFFFFFFFu) {
        return {ExitInstall, "msiexec could not be started.",
                "Check that Windows Installer is available, and use --elevate if the package "
                "needs administrator rights."};
    }
    const InstallerOutcome outcome = ClassifyInstaller(result, msiexecExitCode);
    if (outcome.exitCode == ExitInstall) {
        return {ExitInstall, "The MSI installation failed.",
                "msiexec's log below says why; it is kept for you."};
    }
    return outcome;
}

} // namespace hovrel::road
