#include "stage.h"

#include "policy.h"

#include <string_view>

namespace hovrel::road {

bool IsStageFolderName(const std::wstring& product) {
    if (product.empty() || product.size() > 100 || product == L"." || product == L".." ||
        product.back() == L'.' || product.back() == L' ') {
        return false;
    }
    for (const wchar_t c : product) {
        if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    return true;
}

StageChoice ChooseStage(bool staged, std::optional<std::int32_t> order) {
    if (!staged) {
        return StageChoice::Stage;
    }
    // A stage whose version does not compare is of no use: replace it.
    if (!order || *order > 0) {
        return StageChoice::Replace;
    }
    return StageChoice::Keep;
}

bool StageStaysAfterApply(bool installerStarted, int exitCode) {
    return !installerStarted && (exitCode == ExitCancelled || exitCode == ExitUsage);
}

bool IsStageMismatch(int exitCode) {
    return exitCode != ExitOk && exitCode != ExitUsage && exitCode != ExitCancelled;
}

bool BackgroundFailureWorthTelling(int exitCode) {
    return exitCode == ExitManifest || exitCode == ExitRefused || exitCode == ExitUsage;
}

std::string StageLine(const StageReport& report) {
    switch (report.event) {
    case StageEvent::Staged:
        return "Staged " + report.version + " in " + report.folder +
               "; apply installs it (it is verified again then).";
    case StageEvent::AlreadyStaged:
        return report.version + " or newer is staged already; nothing downloaded.";
    case StageEvent::NothingStaged:
        return "No update is staged for " + report.product + ".";
    case StageEvent::NoLongerNewer:
        break;
    }
    return "The staged " + report.version + " is not newer than the installed " + report.installed +
           "; it has been deleted.";
}

void StageRefusals::Failed(const RoadFailure& failure) {
    if (!applying_ || !IsStageMismatch(failure.exitCode) || failure.usage) {
        inner_.Failed(failure);
        return;
    }
    RoadFailure refused = failure;
    refused.exitCode = ExitRefused;
    refused.advice = kStageDeletedAdvice;
    inner_.Failed(refused);
}

} // namespace hovrel::road
