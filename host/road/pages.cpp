#include "pages.h"

#include "stage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

PageView ConsentView(const std::string& name, const language::Translation& texts) {
    PageView view;
    view.page = Page::Consent;
    view.heading = name.empty() ? texts.Say("consent.heading.plain")
                                : texts.Say("consent.heading.named", {name});
    view.text = texts.Say("consent.text");
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

namespace {

// The kind of failure whose heading and advice the window shows.
const char* FailureKind(int exitCode) {
    switch (exitCode) {
    case ExitUsage:
        return "usage";
    case ExitFetch:
        return "fetch";
    case ExitManifest:
        return "manifest";
    case ExitDownload:
        return "download";
    case ExitInstall:
        return "install";
    case ExitCancelled:
        return "cancelled";
    case ExitRefused:
        return "refused";
    default:
        return "other";
    }
}

} // namespace

UpdaterPages::UpdaterPages(const PageOptions& options, PageSink& sink, common::CancelFlag& cancel,
                           const language::Translation& texts)
    : options_(options), sink_(sink), texts_(texts), cancel_(cancel) {}

void UpdaterPages::Begin() {
    if (!options_.quiet && !options_.applying) {
        Show(Page::Checking, texts_.Say("checking.heading"), texts_.Say("checking.text"));
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

std::string UpdaterPages::Named(const std::string& stem, const std::string& version) const {
    const std::string name = ProductName();
    return name.empty() ? texts_.Say((stem + ".plain").c_str(), {version})
                        : texts_.Say((stem + ".named").c_str(), {name, version});
}

std::string UpdaterPages::Said(const Notice& notice) const {
    if (notice.key == nullptr) {
        return notice.line;
    }
    std::vector<std::string> arguments = notice.arguments;
    if (notice.numberArgument >= 0 &&
        static_cast<std::size_t>(notice.numberArgument) < arguments.size()) {
        std::string& number = arguments[static_cast<std::size_t>(notice.numberArgument)];
        number = texts_.Decimal(std::strtod(number.c_str(), nullptr), notice.decimals);
    }
    return texts_.Say(notice.key, arguments);
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

// Of the notes, only that the manifest is not authenticated is worth a caution.
void UpdaterPages::Noted(const Notice& notice) {
    if (notice.key != nullptr && std::strcmp(notice.key, "warning.not.authenticated") == 0) {
        cautions_.push_back(Said(notice));
    }
}

void UpdaterPages::Warning(const std::string& line) {
    Caution(line);
}

void UpdaterPages::Warned(const Notice& notice) {
    Caution(Said(notice));
}

void UpdaterPages::Caution(const std::string& text) {
    cautions_.push_back(text);
    if (shown_ && (current_.page == Page::Checking || current_.page == Page::Downloading)) {
        Show(current_.page, current_.heading, text);
    }
}

// The manifest's own warnings are in the page's text already.
std::string UpdaterPages::Cautions() const {
    std::string text;
    for (const std::string& line : cautions_) {
        const bool inText =
            std::any_of(manifest_.warnings.begin(), manifest_.warnings.end(),
                        [&](const Notice& warning) { return Said(warning) == line; });
        if (!inText) {
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
    for (const Notice& warning : manifest_.warnings) {
        text += (text.empty() ? "" : "\n\n") + Said(warning);
    }
}

void UpdaterPages::VerdictReached(const VerdictReport& report) {
    verdict_ = report;
    haveVerdict_ = true;
}

void UpdaterPages::DownloadStarted(const std::string&, const std::string& path) {
    packagePath_ = path;
    Show(Page::Downloading, Named("downloading.heading", manifest_.fields.version),
         texts_.Say("downloading.starting"));
}

void UpdaterPages::DownloadProgress(std::uint64_t received, std::uint64_t total) {
    if (!options_.background) {
        sink_.Progress(received, total);
    }
}

void UpdaterPages::Verifying() {
    Show(Page::Verifying, texts_.Say("verifying.heading"), texts_.Say("verifying.text"));
}

void UpdaterPages::WaitingForApp(std::uint32_t pid) {
    Show(Page::Installing, texts_.Say("waiting.heading"),
         texts_.Say("waiting.text", {std::to_string(pid)}));
}

void UpdaterPages::Installing() {
    Show(Page::Installing, Named("installing.heading", manifest_.fields.version),
         texts_.Say("installing.text"));
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
    offer.heading = Named("offer.heading", report.version);
    offer.text = texts_.Say(report.mandatory ? "offer.installed.required" : "offer.installed",
                            {report.installed});
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
    offer.heading = Named("ready.heading", manifest.fields.version);
    offer.text =
        options_.installed.empty() ? "" : texts_.Say("offer.installed", {options_.installed});
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
        const std::string kind = std::string("failed.") + FailureKind(exitCode);
        view.heading = texts_.Say((kind + ".heading").c_str());
        view.text = texts_.Say((kind + ".advice").c_str());
        if (haveFailure_) {
            const std::string details =
                failure_.line + (failure_.detail.empty() ? "" : "\n" + failure_.detail);
            view.text += "\n\n" + texts_.Say("failed.details", {details});
        }
        view.footer = texts_.Say("failed.exit.code", {std::to_string(exitCode)});
    } else if (haveInstalled_ && installReport_.exitCode == ExitRestartNeeded) {
        view.outcome = Outcome::RestartNeeded;
        view.heading = texts_.Say("restart.heading");
        view.text = Named("restart.text", version);
    } else if (haveInstalled_) {
        view.outcome = Outcome::Installed;
        view.heading = Named("installed.heading", version);
        view.text = texts_.Say("installed.text");
    } else if (exitCode == ExitUpdateAvailable) {
        view.outcome = Outcome::Available;
        view.heading = Named("offer.heading", version);
        view.text = texts_.Say("offer.installed", {verdict_.installed});
        view.footer = Cautions();
    } else if (haveVerdict_) {
        view.outcome = Outcome::UpToDate;
        const std::string name = ProductName();
        view.heading = name.empty() ? texts_.Say("uptodate.heading.plain")
                                    : texts_.Say("uptodate.heading.named", {name});
        view.text = verdict_.verdict == Verdict::NeedsNewerWindows ? Said(verdict_.windowsTooOld)
                    : verdict_.verdict == Verdict::NotInRollout
                        ? texts_.Say("uptodate.rollout", {version})
                        : texts_.Say("uptodate.text", {verdict_.installed, version});
        view.footer = Cautions();
    } else {
        view.outcome = Outcome::Downloaded;
        view.heading = Named("downloaded.heading", version);
        view.text = texts_.Say("downloaded.text", {packagePath_});
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
