// English, the reference table: every other table has exactly these keys,
// each with the same placeholders. "&" marks a button's access key.
// "{name}" below is the product's name as the app passed it, "{version}" a
// version such as 2.0.1; the ".named" and ".plain" keys are the same sentence
// with and without the product's name.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    // The window's title bar.
    {"title.named", "{1} update"}, // {1} name
    {"title.plain", "Update"},

    {"checking.heading", "Checking for updates..."},
    {"checking.text", "Asking the update server for the latest version."},

    // The offer of a newer version; also the outcome of a check that found one.
    {"offer.heading.named", "{1} {2} is available."}, // {1} name, {2} version
    {"offer.heading.plain", "Version {1} is available."},
    {"offer.installed", "You have {1}."}, // {1} the installed version
    {"offer.installed.required", "You have {1}. This update is required."},
    // The same question before installing a package downloaded earlier.
    {"ready.heading.named", "{1} {2} is ready to install."},
    {"ready.heading.plain", "Version {1} is ready to install."},
    // Above the publisher's release notes on the offer.
    {"notes.heading", "What's new:"},

    {"downloading.heading.named", "Downloading {1} {2}..."},
    {"downloading.heading.plain", "Downloading version {1}..."},
    {"downloading.starting", "Starting the download..."},
    // The download's progress line. {1} received and {2} total are sizes
    // (size.*), {3} a percentage (percent), {4} a rate (rate), {5} the time
    // left as 0:05 or 1:02:03.
    {"progress.total.rate.left", "{1} of {2}, {3}, {4}, {5} left"},
    {"progress.total.rate", "{1} of {2}, {3}, {4}"},
    {"progress.total", "{1} of {2}, {3}"},
    // When the server did not say how big the package is: {1} received, {2} rate.
    {"progress.rate", "{1}, {2}"},
    // {1} a number in the user's format, such as 1.5 or 512.
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},   // {1} a size
    {"percent", "{1}%"}, // {1} a whole number

    {"verifying.heading", "Verifying the update..."},
    {"verifying.text", "Checking that the package is the one the manifest names."},
    {"waiting.heading", "Waiting for the app to close..."},
    {"waiting.text", "The update is installed once process {1} has ended."}, // {1} a process id
    {"installing.heading.named", "Installing {1} {2}..."},
    {"installing.heading.plain", "Installing version {1}..."},
    {"installing.text", "The installer is running; this can take a few minutes."},
    // After Cancel, while the update stops.
    {"stopping", "Stopping..."},

    {"installed.heading.named", "{1} {2} is installed."},
    {"installed.heading.plain", "Version {1} is installed."},
    {"installed.text", "The installer finished successfully."},
    {"restart.heading", "Restart to finish the update"},
    {"restart.text.named", "{1} {2} is installed; Windows must restart to finish it."},
    {"restart.text.plain", "Version {1} is installed; Windows must restart to finish it."},
    // {1} a Windows error number.
    {"restart.failed",
     "Windows would not restart (error {1}). Restart it from the Start menu to finish the update."},
    {"uptodate.heading.named", "{1} is up to date."}, // {1} name
    {"uptodate.heading.plain", "This app is up to date."},
    // {1} the installed version, {2} the latest one.
    {"uptodate.text", "You have {1}; the latest version is {2}."},
    {"uptodate.rollout",
     "Version {1} is being rolled out step by step and reaches this computer later."},
    // {1} version, {2} the Windows it needs, {3} this computer's (10.0.17763).
    {"uptodate.newer.windows", "Version {1} needs Windows {2} or later; this computer has {3}."},
    {"downloaded.heading.named", "{1} {2} is downloaded."},
    {"downloaded.heading.plain", "Version {1} is downloaded."},
    {"downloaded.text", "The package is at {1}."}, // {1} a file path

    // A failure: a heading and advice per kind, then the technical detail
    // in English and the exit code for the app's publisher.
    {"failed.usage.heading", "The update could not start."},
    {"failed.usage.advice",
     "The app started the updater with options it does not understand; tell the app's publisher."},
    {"failed.fetch.heading", "The update server could not be reached."},
    {"failed.fetch.advice", "Check the internet connection and try again later."},
    {"failed.manifest.heading", "The update information cannot be used."},
    {"failed.manifest.advice",
     "Try again later; if this keeps happening, tell the app's publisher."},
    {"failed.download.heading", "The update could not be downloaded."},
    {"failed.download.advice",
     "Check the internet connection and the free disk space, then try again."},
    {"failed.install.heading", "The update could not be installed."},
    {"failed.install.advice",
     "Close other installations and try again; if this keeps happening, tell the app's publisher."},
    {"failed.cancelled.heading", "The update was stopped."},
    {"failed.cancelled.advice", "Run the update again to finish it."},
    // The update or its information failed a safety check (signature,
    // expiry, product, publisher) and nothing of it was installed.
    {"failed.refused.heading", "The update was refused for safety."},
    {"failed.refused.advice",
     "It did not pass its safety checks, so nothing was installed; tell the app's publisher."},
    {"failed.other.heading", "The update stopped."},
    {"failed.other.advice", "Try again later."},
    {"failed.details", "Details: {1}"}, // {1} the technical line, in English
    {"failed.exit.code", "Exit code {1}"},

    // Asked once before the app checks for updates by itself.
    {"consent.heading.named", "Should {1} check for updates automatically?"},
    {"consent.heading.plain", "Should this app check for updates automatically?"},
    {"consent.text", "It asks the update server now and then and offers each new version; you "
                     "decide whether to install it."},

    {"button.install.now", "&Install now"},
    {"button.skip.version", "&Skip this version"},
    {"button.remind.later", "&Remind me later"},
    {"button.restart.now", "&Restart now"},
    {"button.later", "&Later"}, // restart later
    {"button.check.automatically", "&Check automatically"},
    {"button.dont.check", "&Don't check"},
    {"button.ask.later", "&Ask me later"},
    {"button.cancel", "Cancel"},
    {"button.close", "&Close"},

    // Warnings at the foot of the offer and of a check's outcome. The
    // "manifest" is the update information the publisher signs.
    {"warning.not.authenticated",
     "Not authenticated: the app gave no public key, so the origin of the update information is "
     "not checked."},
    {"warning.allow.unsigned",
     "The update information is not authenticated (--allow-unsigned): whoever can change it "
     "chooses what is installed."},
    {"warning.no.size",
     "The update information gives no size; nothing can be downloaded until the publisher adds "
     "one."},
    {"warning.no.expiry",
     "The signed update information has no expiry date, so an old copy could be replayed; ask the "
     "publisher to set one."},
    // {1} the product named in the manifest.
    {"warning.product",
     "The update information is for product \"{1}\", but the app did not say which product it "
     "is; it should pass --product {1}."},
    // {1} this retry, {2} all retries, {3} seconds such as 1.5.
    {"warning.retry", "Network failure; trying again ({1} of {2}) in {3} s."},
    {"warning.skip.not.saved", "The choice to skip this version could not be saved; it will be "
                               "offered again."},
    {"warning.state.not.saved", "The update's settings could not be saved; the update goes on "
                                "without them."},
    // After the update, the app could not be started again (--relaunch).
    {"warning.relaunch.failed", "The app could not be started again; start it yourself."},
    // In place of a text from the app or the publisher that is not valid UTF-8.
    {"text.not.utf8", "(This text is not valid UTF-8.)"},
};

} // namespace

extern const Table kTextsEn = {"en", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
