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
#include "task_dialog.h"
#include "test_hooks.h"
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

int RefuseCommandLine(const std::string& reason) {
    const std::string line = "hovrel-updater: " + reason;
    const std::string advice =
        "Run hovrel-updater --help for the commands, options and exit codes.";
    if (!WriteIfRedirected(STD_ERROR_HANDLE, line + "\n" + advice + "\n")) {
        ShowMessage(line, advice, TD_ERROR_ICON);
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

std::wstring WindowTitle(const Options& options) {
    const std::wstring& name = options.displayName.empty() ? options.product : options.displayName;
    return name.empty() ? L"Update" : name + L" update";
}

// Skip and Remind me later, kept in the user's state.
class StateOfferMemory : public OfferMemory {
  public:
    StateOfferMemory(windows::ProductState& state, RoadObserver& observer)
        : state_(state), observer_(observer) {}

    void Skip(const std::string& version) override {
        if (!state_.store->WriteText(registry::kSkippedVersion, version)) {
            observer_.Warning("Warning: cannot write " + state_.store->UserPlace() + "\\" +
                              registry::kSkippedVersion + "; the version is offered again.");
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

int RunWindow(windows::ProductState& state, const PageOptions& pageOptions) {
    const Options& options = state.options;
    common::CancelFlag cancel;
    PageQueue queue([] { return static_cast<std::uint64_t>(GetTickCount64()); });
    UpdaterPages pages(pageOptions, queue, cancel);
    TestHooks hooks = TestHooks::FromEnvironment();
    if (state.decision.gate == Gate::AskConsent) {
        const std::optional<bool> answer =
            AskAutomaticChecks(WindowTitle(options), ConsentView(pages.ProductName()), hooks);
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
    UpdaterDialog window(WindowTitle(options), queue, pages, hooks);
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
            ShowMessage("hovrel-updater", help, nullptr);
        }
        return ExitOk;
    }
    const common::Result<PageOptions> pageOptions = PageOptionsOf(parsed.value());
    if (!pageOptions) {
        return RefuseCommandLine(pageOptions.reason());
    }
    windows::ProductState state = windows::LoadProductState(parsed.value(), Program::Window);
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
    return RunWindow(state, pageOptions.value());
}
