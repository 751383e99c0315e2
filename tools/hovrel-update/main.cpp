// hovrel-update: checks for, downloads and installs an update through
// Hovrel.dll. The library does the mechanics; everything here is host policy.

#include "hovrel.h"

#include "console_observer.h"
#include "help_text.h"
#include "install_steps.h"
#include "options.h"
#include "package_folder.h"
#include "policy.h"
#include "product_state.h"
#include "road.h"
#include "utf8.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace hovrel::road;
using namespace hovrel::windows;

namespace {

// Set by Ctrl+C, by closing the console, logoff and shutdown, and by the
// --timeout watchdog. No installer starts once it is set.
hovrel::common::CancelFlag g_cancel;

// Set when the road has ended and its folder is gone.
HANDLE g_roadEnded = nullptr;

// Windows ends the process when the handler returns from a close, logoff or
// shutdown event (or after 5 s), so the handler waits for the road to stop
// and remove its folder, a little less long than that.
constexpr DWORD kEndingWaitMs = 4000;

BOOL WINAPI OnConsoleControl(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        g_cancel.Set();
        if (InstallerIsRunning()) {
            std::fputs("Ctrl+C: a running installer cannot be stopped; hovrel-update stops when "
                       "it has finished.\n",
                       stderr);
        }
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        g_cancel.Set();
        if (g_roadEnded != nullptr) {
            WaitForSingleObject(g_roadEnded, kEndingWaitMs);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

int Run(const Options& options) {
    if (options.command == Command::Help) {
        std::fputs(ConsoleHelp().c_str(), stdout);
        return ExitOk;
    }
    ProductState state = LoadProductState(options, Program::Console);
    for (const std::string& warning : state.warnings) {
        std::fprintf(stderr, "%s\n", warning.c_str());
    }
    if (options.command == Command::Status) {
        std::string out;
        std::vector<std::string> errors;
        const int code = RunStatus(state, out, errors);
        std::fputs(out.c_str(), stdout);
        for (const std::string& error : errors) {
            std::fprintf(stderr, "%s\n", error.c_str());
        }
        return code;
    }
    if (state.decision.gate != Gate::Run) {
        std::string product;
        hovrel::common::WideToUtf8(options.product, product);
        std::printf("%s\n", GateLine(state.decision, product).c_str());
        return ExitOk;
    }
    RemoveStalePackageFolders();
    const std::unique_ptr<RoadObserver> observer = hovrel::update::MakeConsoleObserver(g_cancel);
    return RunRoadWithState(state, *observer, g_cancel);
}

// Prints UTF-8 correctly on a console and gives the console back as it was.
class ConsoleOutputCodePage {
  public:
    ConsoleOutputCodePage() : previous_(GetConsoleOutputCP()) {
        if (previous_ != 0) {
            SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~ConsoleOutputCodePage() {
        if (previous_ != 0) {
            SetConsoleOutputCP(previous_);
        }
    }
    ConsoleOutputCodePage(const ConsoleOutputCodePage&) = delete;
    ConsoleOutputCodePage& operator=(const ConsoleOutputCodePage&) = delete;

  private:
    UINT previous_;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const auto parsed = ParseCommandLine(arguments);
    if (!parsed) {
        std::fprintf(stderr,
                     "hovrel-update: %s\n"
                     "Run hovrel-update --help for the commands, options and exit codes.\n",
                     parsed.reason().c_str());
        return ExitUsage;
    }
    ConsoleOutputCodePage codePage;
    g_roadEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const int code = Run(parsed.value());
    std::fflush(stdout);
    if (g_roadEnded != nullptr) {
        SetEvent(g_roadEnded);
    }
    return code;
}
