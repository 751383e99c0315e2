// hovrel-updater: the update road of hovrel-update in a window for the app's
// users. The road runs on a worker thread and hands its pages to the window
// through the page queue; the task dialog takes them on its timer ticks.

#include "handles.h"
#include "help_text.h"
#include "package_folder.h"
#include "page_queue.h"
#include "pages.h"
#include "policy.h"
#include "road.h"
#include "status.h"
#include "task_dialog.h"
#include "test_hooks.h"
#include "utf8.h"
#include "windows_road_steps.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

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

std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    const UniqueLocal<LPWSTR*> words(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!words) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(words.get()[i]);
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
    pages.quiet = options.quietIfCurrent;
    return pages;
}

std::wstring WindowTitle(const Options& options) {
    const std::wstring& name = options.displayName.empty() ? options.product : options.displayName;
    return name.empty() ? L"Update" : name + L" update";
}

int RunWindow(const Options& options, const PageOptions& pageOptions) {
    common::CancelFlag cancel;
    PageQueue queue([] { return static_cast<std::uint64_t>(GetTickCount64()); });
    UpdaterPages pages(pageOptions, queue, cancel);
    TestHooks hooks = TestHooks::FromEnvironment();
    UpdaterDialog window(WindowTitle(options), queue, pages, hooks);
    pages.Begin();
    int exitCode = ExitOk;
    std::thread road([&] {
        windows::RemoveStalePackageFolders();
        windows::WindowsRoadSteps steps(options, pages, cancel);
        exitCode = RunRoad(options, steps, pages, cancel);
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
    return RunWindow(parsed.value(), pageOptions.value());
}
