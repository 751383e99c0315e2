#pragma once

// hovrel-updater's pages: which page the road's events call for and what it
// says. No platform calls, so the page sequences are tested natively; the
// window only draws what it is given.

#include "road.h"
#include "translation.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace hovrel::road {

enum class Page { Checking, Offer, Downloading, Verifying, Installing, Outcome, Consent };

enum class Outcome { Installed, RestartNeeded, UpToDate, Available, Downloaded, Failed };

// Texts are UTF-8, in the window's language.
struct PageView {
    Page page = Page::Checking;
    std::string heading; // the main instruction
    std::string text;
    std::string notes;      // the offer's release notes
    std::string footer;     // a failure's exit code; on the offer, what to be wary of
    bool mandatory = false; // an offer without Later
    bool skippable = false; // an offer with Skip this version
    Outcome outcome = Outcome::Failed;
    int exitCode = 0;
};

const char* PageName(Page page);

// The page that asks whether `name` may check for updates by itself.
PageView ConsentView(const std::string& name, const language::Translation& texts);
const char* OutcomeName(Outcome outcome);

// What the pages take from the command line, in UTF-8.
struct PageOptions {
    std::string name;        // --name
    std::string product;     // --product
    std::string installed;   // --installed
    bool quiet = false;      // --quiet-if-current
    bool background = false; // update --background: no page unless a failure is worth one
    bool applying = false;   // apply: no checking page, nothing to say when nothing is staged
};

// The window's side. All but Cancelled are called on the road's thread.
class PageSink {
  public:
    virtual ~PageSink() = default;
    virtual void Show(const PageView& view) = 0;
    virtual void Progress(std::uint64_t received, std::uint64_t total) = 0;
    // The offer: true to install now, false for later.
    virtual bool Ask(const PageView& offer) = 0;
    // The road has ended: show `outcome`, or close when it is null (the
    // user cancelled or chose later, or --quiet-if-current and nothing
    // applied).
    virtual void Finish(const PageView* outcome, int exitCode) = 0;
    // The user pressed Cancel, on the window's thread: a sink whose Ask
    // waits for the window must not keep the road waiting now.
    virtual void Cancelled() {}
};

// What the user said no to on the offer, for the automatic runs to come.
class OfferMemory {
  public:
    virtual ~OfferMemory() = default;
    virtual void Skip(const std::string& version) = 0;
    virtual void RemindLater() = 0;
};

class UpdaterPages : public hovrel::road::RoadObserver {
  public:
    // `cancel` is the flag the road and the library read.
    UpdaterPages(const PageOptions& options, PageSink& sink, common::CancelFlag& cancel,
                 const language::Translation& texts = language::EnglishTranslation());

    // Shows the checking page, unless --quiet-if-current.
    void Begin();

    // The user pressed Cancel: the road stops at its next chance and the
    // window closes without an outcome page.
    void Cancel();

    // The product's name on the pages: --name, --product, the manifest's
    // "product", or nothing (then "Version 2.0 is available.").
    std::string ProductName() const;

    // Remembers the offers declined; without one the offer has no Skip.
    void RememberOffers(OfferMemory* memory) { memory_ = memory; }
    // On the window's thread, before it answers the offer: the answer is Skip.
    void SkipChosen() { skipChosen_ = true; }

    // A warning, and the note that the manifest is not authenticated, are
    // kept for the foot of the offer and of a check's outcome; a warning is
    // shown on the checking and downloading pages too (a retry is worth
    // seeing).
    void Note(const std::string&) override {}
    void Warning(const std::string& line) override;
    void Noted(const Notice& notice) override;
    void Warned(const Notice& notice) override;
    void Checking(const std::string&) override {}
    void ManifestAccepted(const RoadManifest& manifest) override;
    void VerdictReached(const VerdictReport& report) override;
    void DownloadStarted(const std::string& url, const std::string& path) override;
    void DownloadProgress(std::uint64_t received, std::uint64_t total) override;
    void DownloadEnded() override {}
    void Verifying() override;
    void WaitingForApp(std::uint32_t pid) override;
    void Installing() override;
    void Installed(const InstallReport& report) override;
    void Failed(const RoadFailure& failure) override;
    void Stopped(StopPoint where, std::uint32_t pid) override;
    void StageChanged(const StageReport& report) override;
    void Finished(int exitCode) override;
    bool AcceptOffer(const RoadManifest& manifest, const VerdictReport& report) override;
    bool ConfirmInstall(const RoadManifest& manifest) override;

  private:
    void Show(Page page, std::string heading, std::string text);
    void Caution(const std::string& text);
    // The notice in the window's language.
    std::string Said(const Notice& notice) const;
    // `stem`.named with the product's name and version, or `stem`.plain.
    std::string Named(const std::string& stem, const std::string& version) const;
    PageView Outcome(int exitCode) const;
    std::string Cautions() const;
    void AppendWarnings(std::string& text) const;

    const PageOptions options_;
    PageSink& sink_;
    const language::Translation& texts_;
    common::CancelFlag& cancel_;
    RoadManifest manifest_;
    bool haveManifest_ = false;
    VerdictReport verdict_;
    bool haveVerdict_ = false;
    bool shown_ = false;
    PageView current_; // the page shown last
    bool offered_ = false;
    bool declined_ = false;
    std::atomic<bool> userCancelled_{false}; // set on the window's thread
    std::string packagePath_;
    InstallReport installReport_;
    bool haveInstalled_ = false;
    RoadFailure failure_;
    bool haveFailure_ = false;
    bool nothingToApply_ = false;
    std::vector<std::string> cautions_;
    OfferMemory* memory_ = nullptr;
    std::atomic<bool> skipChosen_{false}; // set on the window's thread
};

} // namespace hovrel::road
