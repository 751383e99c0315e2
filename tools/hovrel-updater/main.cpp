// hovrel-updater: the update road of hovrel-update in a window for the app's
// users. The road runs on a worker thread and hands its pages to the window
// through the page queue; the task dialog takes them on its timer ticks.

#include "handles.h"
#include "help_text.h"
#include "package_folder.h"
#include "page_queue.h"
#include "pages.h"
#include "policy.h"
#include "product_state.h"
#include "registry_names.h"
#include "road.h"
#include "status.h"
#include "tags.h"
#include "task_dialog.h"
#include "test_hooks.h"
#include "translation.h"
#include "user_language.h"
#include "utf8.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace hovrel;
using namespace hovrel::road;
using namespace hovrel::updater;

namespace {

// Writes to standard output or error only when the caller redirected it to
// a file or pipe; a program started from Explorer has neither.
bool WriteIfRedirected(DWORD which, const std::string& text) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) == FILE_TYPE_UNKNOWN) {
        return false;
    }
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

// The window's language: --language, else the user's; and numbers as the
// locale of the tag that chose the table writes them.
struct WindowLanguage {
    explicit WindowLanguage(const std::string& given)
        : preferred(given.empty() ? windows::PreferredUiLanguages()
                                  : std::vector<std::string>{given}),
          table(language::ChooseTable(preferred)), tag(language::ChosenTag(preferred, table)),
          numbers(tag), texts(table, numbers) {}

    const std::vector<std::string> preferred;
    const language::Table& table;
    const std::string tag;
    const windows::LocaleNumberFormat numbers;
    const language::Translation texts;
};

// Standard error, for the integrator, stays English; the dialog, for the
// user, speaks the user's language with the English line as its details.
int RefuseCommandLine(const std::string& reason) {
    const std::string line = "hovrel-updater: " + reason;
    const std::string advice =
        "Run hovrel-updater --help for the commands, options and exit codes.";
    if (!WriteIfRedirected(STD_ERROR_HANDLE, line + "\n" + advice + "\n")) {
        const WindowLanguage user("");
        ShowMessage(user.texts.Say("failed.usage.heading"),
                    user.texts.Say("failed.usage.advice") + "\n\n" +
                        user.texts.Say("failed.details", {line}),
                    TD_ERROR_ICON, user.texts);
    }
    return ExitUsage;
}

// The C runtime's split of the command line (built with -municode): the
// same rules as CommandLineToArgvW, without loading shell32 at every start.
std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < __argc && __wargv != nullptr; ++i) {
        arguments.emplace_back(__wargv[i]);
    }
    return arguments;
}

common::Result<PageOptions> PageOptionsOf(const Options& options) {
    PageOptions pages;
    const struct {
        const char* option;
        const std::wstring& given;
        std::string& text;
    } texts[] = {{"--name", options.displayName, pages.name},
                 {"--product", options.product, pages.product},
                 {"--installed", options.installedVersion, pages.installed}};
    for (const auto& text : texts) {
        if (!common::WideToUtf8(text.given, text.text)) {
            return common::Result<PageOptions>::Failure(std::string(text.option) +
                                                        " is not valid text");
        }
    }
    // An automatic run shows nothing unless it offers an update.
    pages.quiet = options.quietIfCurrent || options.automatic;
    pages.background = options.background;
    pages.applying = options.command == Command::Apply;
    return pages;
}

std::wstring WindowTitle(const std::string& name, const language::Translation& texts) {
    std::wstring title;
    const std::string text =
        name.empty() ? texts.Say("title.plain") : texts.Say("title.named", {name});
    return common::Utf8ToWide(text, title) ? title : L"Update";
}

// Skip and Remind me later, kept in the user's state.
class StateOfferMemory : public OfferMemory {
  public:
    StateOfferMemory(windows::ProductState& state, RoadObserver& observer)
        : state_(state), observer_(observer) {}

    void Skip(const std::string& version) override {
        if (!state_.store->WriteText(registry::kSkippedVersion, version)) {
            observer_.Warned({"Warning: cannot write " + state_.store->UserPlace() + "\\" +
                                  registry::kSkippedVersion + "; the version is offered again.",
                              "warning.skip.not.saved"});
        }
    }

    void RemindLater() override {
        WriteNumber(*state_.store, observer_, registry::kRemindAfter, RawValue::Type::Qword,
                    static_cast<std::uint64_t>(
                        RemindAfterTime(state_.now, state_.settings.intervalHours.value)));
    }

  private:
    windows::ProductState& state_;
    RoadObserver& observer_;
};

void WriteLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        WriteIfRedirected(STD_ERROR_HANDLE, line + "\n");
    }
}

int RunWindow(windows::ProductState& state, const PageOptions& pageOptions,
              const language::Translation& texts) {
    common::CancelFlag cancel;
    PageQueue queue([] { return static_cast<std::uint64_t>(GetTickCount64()); });
    UpdaterPages pages(pageOptions, queue, cancel, texts);
    TestHooks hooks = TestHooks::FromEnvironment();
    const std::string name = pageOptions.name.empty() ? pageOptions.product : pageOptions.name;
    const std::wstring title = WindowTitle(name, texts);
    if (state.decision.gate == Gate::AskConsent) {
        const std::optional<bool> answer =
            AskAutomaticChecks(title, ConsentView(pages.ProductName(), texts), texts, hooks);
        if (!answer) {
            return ExitOk;
        }
        windows::RecordConsent(state, *answer, pages);
        if (!*answer) {
            return ExitOk;
        }
    }
    StateOfferMemory memory(state, pages);
    if (state.store) {
        pages.RememberOffers(&memory);
    }
    UpdaterDialog window(title, queue, pages, texts, hooks);
    pages.Begin();
    int exitCode = ExitOk;
    std::thread road([&] {
        windows::RemoveStalePackageFolders();
        exitCode = windows::RunRoadWithState(state, pages, cancel);
    });
    window.Run();
    road.join();
    return exitCode;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto parsed = ParseCommandLine(Arguments(), Program::Window);
    if (!parsed) {
        return RefuseCommandLine(parsed.reason());
    }
    if (parsed.value().command == Command::Help) {
        const std::string help = WindowHelp();
        if (!WriteIfRedirected(STD_OUTPUT_HANDLE, help)) {
            ShowMessage("hovrel-updater", help, nullptr, language::EnglishTranslation());
        }
        return ExitOk;
    }
    const common::Result<PageOptions> pageOptions = PageOptionsOf(parsed.value());
    if (!pageOptions) {
        return RefuseCommandLine(pageOptions.reason());
    }
    const WindowLanguage chosen(parsed.value().language);
    windows::ProductState state = windows::LoadProductState(parsed.value(), Program::Window);
    state.options.notesLanguages = language::NotesLanguages(chosen.tag, chosen.table);
    WriteLines(state.warnings);
    if (state.decision.gate == Gate::RecordFirstRun) {
        std::vector<std::string> warnings;
        windows::RecordFirstAutomaticRun(state, warnings);
        WriteLines(warnings);
    }
    if (state.decision.gate != Gate::Run && state.decision.gate != Gate::AskConsent) {
        std::string product;
        common::WideToUtf8(parsed.value().product, product);
        WriteIfRedirected(STD_OUTPUT_HANDLE, GateLine(state.decision, product) + "\n");
        return ExitOk;
    }
    return RunWindow(state, pageOptions.value(), chosen.texts);
}
