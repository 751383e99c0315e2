#include "pages.h"

#include "stage.h"

#include <algorithm>

namespace hovrel::road {

const char* PageName(Page page) {
    switch (page) {
    case Page::Checking:
        return "checking";
    case Page::Offer:
        return "offer";
    case Page::Downloading:
        return "downloading";
    case Page::Verifying:
        return "verifying";
    case Page::Installing:
        return "installing";
    case Page::Consent:
        return "consent";
    case Page::Outcome:
        break;
    }
    return "outcome";
}

PageView ConsentView(const std::string& name) {
    PageView view;
    view.page = Page::Consent;
    view.heading = "Should " + name + " check for updates automatically?";
    view.text = "It asks the update server now and then and offers each new version; you "
                "decide whether to install it.";
    return view;
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Installed:
        return "installed";
    case Outcome::RestartNeeded:
        return "restart";
    case Outcome::UpToDate:
        return "up-to-date";
    case Outcome::Available:
        return "available";
    case Outcome::Downloaded:
        return "downloaded";
    case Outcome::Failed:
        break;
    }
    return "failed";
}

UpdaterPages::UpdaterPages(const PageOptions& options, PageSink& sink, common::CancelFlag& cancel)
    : options_(options), sink_(sink), cancel_(cancel) {}

void UpdaterPages::Begin() {
    if (!options_.quiet && !options_.applying) {
        Show(Page::Checking, "Checking for updates...",
             "Asking the update server for the latest version.");
    }
}

void UpdaterPages::Cancel() {
    userCancelled_ = true;
    cancel_.Set();
    sink_.Cancelled();
}

std::string UpdaterPages::ProductName() const {
    if (!options_.name.empty()) {
        return options_.name;
    }
    if (!options_.product.empty()) {
        return options_.product;
    }
    return haveManifest_ ? manifest_.product : std::string();
}

std::string UpdaterPages::Named(const std::string& version) const {
    const std::string name = ProductName();
    return name.empty() ? "Version " + version : name + " " + version;
}

void UpdaterPages::Show(Page page, std::string heading, std::string text) {
    if (options_.background) {
        return;
    }
    PageView view;
    view.page = page;
    view.heading = std::move(heading);
    view.text = std::move(text);
    shown_ = true;
    current_ = view;
    sink_.Show(view);
}

void UpdaterPages::Note(const std::string& line) {
    if (line.rfind("Not authenticated", 0) == 0) {
        cautions_.push_back(line);
    }
}

void UpdaterPages::Warning(const std::string& line) {
    cautions_.push_back(line);
    if (shown_ && (current_.page == Page::Checking || current_.page == Page::Downloading)) {
        Show(current_.page, current_.heading, line);
    }
}

// The manifest's own warnings are in the page's text already.
std::string UpdaterPages::Cautions() const {
    std::string text;
    for (const std::string& line : cautions_) {
        if (std::find(manifest_.warnings.begin(), manifest_.warnings.end(), line) ==
            manifest_.warnings.end()) {
            text += (text.empty() ? "" : "\n") + line;
        }
    }
    return text;
}

void UpdaterPages::ManifestAccepted(const RoadManifest& manifest) {
    manifest_ = manifest;
    haveManifest_ = true;
}

// The manifest's warnings stay below the offer and the outcome.
void UpdaterPages::AppendWarnings(std::string& text) const {
    for (const std::string& warning : manifest_.warnings) {
        text += (text.empty() ? "" : "\n\n") + warning;
    }
}

void UpdaterPages::VerdictReached(const VerdictReport& report) {
    verdict_ = report;
    haveVerdict_ = true;
}

void UpdaterPages::DownloadStarted(const std::string&, const std::string& path) {
    packagePath_ = path;
    Show(Page::Downloading, "Downloading " + Named(manifest_.fields.version) + "...", "");
}

void UpdaterPages::DownloadProgress(std::uint64_t received, std::uint64_t total) {
    if (!options_.background) {
        sink_.Progress(received, total);
    }
}

void UpdaterPages::Verifying() {
    Show(Page::Verifying, "Verifying the update...",
         "Checking that the package is the one the manifest names.");
}

void UpdaterPages::WaitingForApp(std::uint32_t pid) {
    Show(Page::Installing, "Waiting for the app to close...",
         "The update is installed once process " + std::to_string(pid) + " has ended.");
}

void UpdaterPages::Installing() {
    Show(Page::Installing, "Installing " + Named(manifest_.fields.version) + "...",
         "The installer is running; this can take a few minutes.");
}

void UpdaterPages::Installed(const InstallReport& report) {
    installReport_ = report;
    haveInstalled_ = true;
}

void UpdaterPages::Failed(const RoadFailure& failure) {
    if (!haveFailure_) {
        failure_ = failure;
        haveFailure_ = true;
    }
}

void UpdaterPages::Stopped(StopPoint, std::uint32_t) {}

// A stage made or kept is the quiet end of a background run; an apply with
// nothing (newer) staged ends without a page too.
void UpdaterPages::StageChanged(const StageReport& report) {
    nothingToApply_ =
        report.event == StageEvent::NothingStaged || report.event == StageEvent::NoLongerNewer;
}

bool UpdaterPages::AcceptOffer(const RoadManifest& manifest, const VerdictReport& report) {
    PageView offer;
    offer.page = Page::Offer;
    offer.heading = Named(report.version) + " is available.";
    offer.text = "You have " + report.installed + ".";
    if (report.mandatory) {
        offer.text += " This update is required.";
    }
    AppendWarnings(offer.text);
    offer.notes = manifest.notes;
    offer.mandatory = report.mandatory;
    offer.skippable = memory_ != nullptr && !report.mandatory;
    offer.footer = Cautions();
    shown_ = true;
    offered_ = true;
    declined_ = !sink_.Ask(offer);
    if (declined_ && memory_ != nullptr && !userCancelled_) {
        if (skipChosen_) {
            memory_->Skip(report.version);
        } else {
            memory_->RemindLater();
        }
    }
    return !declined_;
}

// Asked before the installer: the update's offer was that question already;
// an install of a downloaded package asks it here.
bool UpdaterPages::ConfirmInstall(const RoadManifest& manifest) {
    if (offered_) {
        return true;
    }
    PageView offer;
    offer.page = Page::Offer;
    offer.heading = Named(manifest.fields.version) + " is ready to install.";
    offer.text = options_.installed.empty() ? "" : "You have " + options_.installed + ".";
    offer.notes = manifest.notes;
    offer.mandatory = manifest.fields.mandatory != 0;
    offer.footer = Cautions();
    shown_ = true;
    offered_ = true;
    declined_ = !sink_.Ask(offer);
    return !declined_;
}

PageView UpdaterPages::Outcome(int exitCode) const {
    PageView view;
    view.page = Page::Outcome;
    view.exitCode = exitCode;
    const std::string version = manifest_.fields.version;
    if (haveFailure_ ||
        (exitCode != ExitOk && exitCode != ExitUpdateAvailable && exitCode != ExitRestartNeeded)) {
        view.outcome = Outcome::Failed;
        view.heading = haveFailure_ ? failure_.line : "The update stopped.";
        view.text = failure_.advice;
        if (!failure_.detail.empty()) {
            view.text += (view.text.empty() ? "" : "\n") + failure_.detail;
        }
        view.footer = "Exit code " + std::to_string(exitCode);
    } else if (haveInstalled_ && installReport_.exitCode == ExitRestartNeeded) {
        view.outcome = Outcome::RestartNeeded;
        view.heading = "Restart to finish the update";
        view.text = Named(version) + " is installed; Windows must restart to finish it.";
    } else if (haveInstalled_) {
        view.outcome = Outcome::Installed;
        view.heading = Named(version) + " is installed.";
        view.text = installReport_.summary;
    } else if (exitCode == ExitUpdateAvailable) {
        view.outcome = Outcome::Available;
        view.heading = Named(version) + " is available.";
        view.text = "You have " + verdict_.installed + ".";
        view.footer = Cautions();
    } else if (haveVerdict_) {
        view.outcome = Outcome::UpToDate;
        const std::string name = ProductName();
        view.heading = (name.empty() ? std::string("This app") : name) + " is up to date.";
        view.text =
            verdict_.verdict == Verdict::NeedsNewerWindows ? verdict_.windowsTooOld
            : verdict_.verdict == Verdict::NotInRollout
                ? "Version " + version +
                      " is being rolled out step by step and reaches this computer later."
                : "You have " + verdict_.installed + "; the latest version is " + version + ".";
        view.footer = Cautions();
    } else {
        view.outcome = Outcome::Downloaded;
        view.heading = Named(version) + " is downloaded.";
        view.text = "The package is at " + packagePath_ + ".";
    }
    AppendWarnings(view.text);
    return view;
}

void UpdaterPages::Finished(int exitCode) {
    const PageView outcome = Outcome(exitCode);
    const bool quietlyCurrent = options_.quiet && !shown_ && outcome.outcome != Outcome::Available;
    const bool quietInBackground =
        options_.background &&
        !(outcome.outcome == Outcome::Failed && BackgroundFailureWorthTelling(exitCode));
    const bool closes =
        userCancelled_ || declined_ || quietlyCurrent || quietInBackground || nothingToApply_;
    sink_.Finish(closes ? nullptr : &outcome, exitCode);
}

} // namespace hovrel::road
