// hovrel-updater: the update road of hovrel-update in a window for the app's
// users. The road runs on a worker thread; the task dialog's callback turns
// what it reports into pages on each timer tick.

#include "help_text.h"
#include "pages.h"
#include "policy.h"
#include "progress.h"
#include "road.h"
#include "utf8.h"
#include "windows_road_steps.h"
#include "windows_support.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace hovrel::road;
using namespace hovrel::windows;

namespace {

constexpr int kRestartNow = 100;
constexpr int kInstallNow = 101;
constexpr int kProgressRange = 1000;

std::wstring Wide(const std::string& text) {
    std::wstring wide;
    return hovrel::common::Utf8ToWide(text, wide) ? wide : std::wstring(L"?");
}

std::string Utf8(const std::wstring& wide) {
    std::string text;
    return hovrel::common::WideToUtf8(wide, text) ? text : std::string("?");
}

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

// For tests and pictures only, three environment variables:
// HOVREL_UPDATER_TEST_KEYS="offer=enter@1500,outcome=escape@800" presses
// Enter or Escape on a page that long after it appeared;
// HOVREL_UPDATER_TEST_LOG=FILE appends each page's name as it appears;
// HOVREL_UPDATER_TEST_PAGE_MS=N shows each page for N ms at least.
struct TestKey {
    std::string page;
    WPARAM key = 0;
    ULONGLONG afterMs = 0;
};

std::vector<TestKey> ReadTestKeys() {
    std::vector<TestKey> keys;
    const char* spec = std::getenv("HOVREL_UPDATER_TEST_KEYS");
    std::string rest = spec == nullptr ? "" : spec;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string entry = rest.substr(0, comma);
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        const std::size_t equals = entry.find('=');
        const std::size_t at = entry.find('@');
        if (equals == std::string::npos || at == std::string::npos || at < equals) {
            continue;
        }
        const std::string key = entry.substr(equals + 1, at - equals - 1);
        keys.push_back({entry.substr(0, equals), key == "escape" ? WPARAM{VK_ESCAPE} : VK_RETURN,
                        std::strtoull(entry.c_str() + at + 1, nullptr, 10)});
    }
    return keys;
}

bool RestartWindows(DWORD& error) {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
        CloseHandle(token);
    }
    const DWORD reason = SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION |
                         SHTDN_REASON_FLAG_PLANNED;
    error = InitiateShutdownW(nullptr, nullptr, 0, SHUTDOWN_RESTART, reason);
    if (error == ERROR_SUCCESS) {
        return true;
    }
    if (ExitWindowsEx(EWX_REBOOT, reason)) {
        return true;
    }
    error = GetLastError();
    return false;
}

// One page's task dialog configuration and the texts it points to, which
// must live as long as the page is shown.
struct PageConfig {
    PageView view;
    std::wstring title, heading, text, notes, footer;
    std::vector<TASKDIALOG_BUTTON> buttons;
    TASKDIALOGCONFIG config = {};
    bool cancellable = false; // Cancel stops the road
};

class UpdaterWindow : public PageSink {
  public:
    UpdaterWindow(std::wstring title, std::string logPath, ULONGLONG minimumPageMs)
        : title_(std::move(title)), logPath_(std::move(logPath)), testKeys_(ReadTestKeys()),
          minimumPageMs_(minimumPageMs) {}

    void Attach(UpdaterPages& pages) { pages_ = &pages; }

    // Runs the window until the road has finished and the outcome was seen;
    // shows nothing when the road ends without a page.
    int Run() {
        std::optional<PageView> first;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !pending_.empty() || finished_; });
            if (!pending_.empty()) {
                first = pending_.front();
                pending_.pop_front();
            } else if (outcome_) {
                first = *outcome_;
                outcomeShown_ = true;
            } else {
                return exitCode_;
            }
        }
        current_ = Build(*first);
        TaskDialogIndirect(&current_->config, nullptr, nullptr, nullptr);
        // The road may still wait for an answer when the window was closed
        // from outside.
        std::lock_guard<std::mutex> lock(mutex_);
        if (!answer_) {
            answer_ = false;
            answered_.notify_all();
        }
        return exitCode_;
    }

    void Show(const PageView& view) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (view.page == Page::Downloading) {
            // The rate counts from the download's start, not from when its
            // page appears.
            downloadStartMs_ = GetTickCount64();
        }
        pending_.push_back(view);
        changed_.notify_all();
    }

    void Progress(std::uint64_t received, std::uint64_t total) override {
        std::lock_guard<std::mutex> lock(mutex_);
        received_ = received;
        total_ = total;
        progressChanged_ = true;
    }

    bool Ask(const PageView& offer) override {
        std::unique_lock<std::mutex> lock(mutex_);
        answer_.reset();
        pending_.push_back(offer);
        changed_.notify_all();
        answered_.wait(lock, [this] { return answer_.has_value(); });
        return *answer_;
    }

    void Finish(const PageView* outcome, int exitCode) override {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        exitCode_ = exitCode;
        if (outcome != nullptr) {
            outcome_ = *outcome;
        }
        changed_.notify_all();
    }

  private:
    std::unique_ptr<PageConfig> Build(const PageView& view) {
        auto page = std::make_unique<PageConfig>();
        page->view = view;
        page->title = title_;
        page->heading = Wide(view.heading);
        page->text = Wide(view.text);
        page->notes = Wide(view.notes);
        page->footer = Wide(view.footer);
        TASKDIALOGCONFIG& config = page->config;
        config.cbSize = sizeof config;
        config.hInstance = GetModuleHandleW(nullptr);
        config.dwFlags = TDF_CALLBACK_TIMER | TDF_SIZE_TO_CONTENT;
        config.pszWindowTitle = page->title.c_str();
        config.pszMainInstruction = page->heading.c_str();
        config.pszContent = page->text.empty() ? nullptr : page->text.c_str();
        config.pfCallback = &UpdaterWindow::Callback;
        config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
        config.cxWidth = 260;
        switch (view.page) {
        case Page::Checking:
        case Page::Verifying:
        case Page::Installing:
            config.dwFlags |= TDF_SHOW_MARQUEE_PROGRESS_BAR;
            config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
            page->cancellable = view.page != Page::Installing;
            break;
        case Page::Downloading:
            config.dwFlags |= TDF_SHOW_PROGRESS_BAR;
            config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
            page->text = L"Starting the download...";
            config.pszContent = page->text.c_str();
            page->cancellable = true;
            break;
        case Page::Offer:
            config.pszMainIcon = TD_INFORMATION_ICON;
            page->buttons.push_back({kInstallNow, L"&Install now"});
            if (!view.mandatory) {
                page->buttons.push_back({IDCANCEL, L"&Later"});
            }
            config.nDefaultButton = kInstallNow;
            // Shown in full: Wine draws the expando control's label cut short.
            if (!page->notes.empty()) {
                page->text += L"\n\nWhat's new:\n" + page->notes;
                config.pszContent = page->text.c_str();
            }
            break;
        case Page::Outcome:
            config.dwFlags |= TDF_ALLOW_DIALOG_CANCELLATION;
            if (view.outcome == Outcome::RestartNeeded) {
                config.pszMainIcon = TD_WARNING_ICON;
                page->buttons.push_back({kRestartNow, L"&Restart now"});
                page->buttons.push_back({IDCANCEL, L"&Later"});
                // Enter must not restart the computer by accident.
                config.nDefaultButton = IDCANCEL;
            } else {
                config.pszMainIcon =
                    view.outcome == Outcome::Failed ? TD_ERROR_ICON : TD_INFORMATION_ICON;
                config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
            }
            if (!page->footer.empty()) {
                config.pszFooter = page->footer.c_str();
            }
            break;
        }
        if (!page->buttons.empty()) {
            config.pButtons = page->buttons.data();
            config.cButtons = static_cast<UINT>(page->buttons.size());
        }
        return page;
    }

    static HRESULT CALLBACK Callback(HWND hwnd, UINT notification, WPARAM wParam, LPARAM,
                                     LONG_PTR data) {
        return reinterpret_cast<UpdaterWindow*>(data)->OnNotify(hwnd, notification, wParam);
    }

    HRESULT OnNotify(HWND hwnd, UINT notification, WPARAM wParam) {
        switch (notification) {
        case TDN_CREATED:
        case TDN_NAVIGATED:
            OnPageShown(hwnd);
            return S_OK;
        case TDN_TIMER:
            OnTimer(hwnd);
            return S_OK;
        case TDN_BUTTON_CLICKED:
            return OnButton(hwnd, static_cast<int>(wParam));
        default:
            return S_OK;
        }
    }

    void OnPageShown(HWND hwnd) {
        const PageView& view = current_->view;
        shownAtMs_ = GetTickCount64();
        pressedOnPage_ = 0;
        if (view.page != Page::Downloading && view.page != Page::Offer &&
            view.page != Page::Outcome) {
            SendMessageW(hwnd, TDM_SET_PROGRESS_BAR_MARQUEE, TRUE, 0);
        }
        if (view.page == Page::Downloading) {
            SendMessageW(hwnd, TDM_SET_PROGRESS_BAR_RANGE, 0, MAKELPARAM(0, kProgressRange));
        }
        if (view.page == Page::Installing) {
            // The installer cannot be stopped once it runs.
            SendMessageW(hwnd, TDM_ENABLE_BUTTON, IDCANCEL, FALSE);
        }
        Log(view.page == Page::Outcome ? std::string("outcome:") + OutcomeName(view.outcome)
                                       : PageName(view.page));
    }

    void OnTimer(HWND hwnd) {
        std::optional<PageView> next;
        bool close = false;
        std::uint64_t received = 0, total = 0;
        ULONGLONG downloadStartMs = 0;
        bool progress = false;
        // Every page the road reached is shown, each for one tick at least
        // (a test may ask for longer, to take its picture).
        const bool mayMove = GetTickCount64() - shownAtMs_ >= minimumPageMs_;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (mayMove && !pending_.empty()) {
                next = pending_.front();
                pending_.pop_front();
            } else if (mayMove && finished_ && !outcomeShown_) {
                outcomeShown_ = true;
                if (outcome_) {
                    next = *outcome_;
                } else {
                    close = true;
                }
            }
            progress = progressChanged_;
            progressChanged_ = false;
            received = received_;
            total = total_;
            downloadStartMs = downloadStartMs_;
        }
        if (close) {
            EndDialog(hwnd, IDCANCEL);
            return;
        }
        if (next) {
            previous_ = std::move(current_);
            current_ = Build(*next);
            SendMessageW(hwnd, TDM_NAVIGATE_PAGE, 0, reinterpret_cast<LPARAM>(&current_->config));
            return;
        }
        if (progress && current_->view.page == Page::Downloading && !stopping_) {
            ShowProgress(hwnd, received, total, GetTickCount64() - downloadStartMs);
        }
        PressTestKey(hwnd);
    }

    void ShowProgress(HWND hwnd, std::uint64_t received, std::uint64_t total,
                      std::uint64_t elapsedMs) {
        if (total > 0) {
            const auto position = static_cast<WPARAM>(received * kProgressRange / total);
            SendMessageW(hwnd, TDM_SET_PROGRESS_BAR_POS, position, 0);
        }
        progressText_ = Wide(FormatProgressLine(received, total, elapsedMs, ", "));
        SendMessageW(hwnd, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                     reinterpret_cast<LPARAM>(progressText_.c_str()));
    }

    HRESULT OnButton(HWND hwnd, int id) {
        const PageView& view = current_->view;
        if (view.page == Page::Offer) {
            // Escape still sends IDCANCEL when a mandatory offer has no Later.
            if (view.mandatory && id != kInstallNow) {
                return S_FALSE;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (!answer_) {
                answer_ = id == kInstallNow;
                answered_.notify_all();
            }
            // The road answers with the next page, or closes the window.
            return S_FALSE;
        }
        if (view.page == Page::Outcome) {
            if (id != kRestartNow) {
                return S_OK;
            }
            DWORD error = 0;
            if (RestartWindows(error)) {
                return S_OK;
            }
            stoppingText_ = L"Windows would not restart (error " + std::to_wstring(error) +
                            L"); restart it from the Start menu to finish the update.";
            SendMessageW(hwnd, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                         reinterpret_cast<LPARAM>(stoppingText_.c_str()));
            return S_FALSE;
        }
        if (id == IDCANCEL && current_->cancellable && !stopping_) {
            stopping_ = true;
            pages_->Cancel();
            stoppingText_ = L"Stopping...";
            SendMessageW(hwnd, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                         reinterpret_cast<LPARAM>(stoppingText_.c_str()));
            SendMessageW(hwnd, TDM_ENABLE_BUTTON, IDCANCEL, FALSE);
        }
        // The road ends and the window closes with it.
        return S_FALSE;
    }

    // A key press through the dialog's own keyboard handling, to where the
    // focus is, as a user's would go.
    void PressTestKey(HWND hwnd) {
        const char* page =
            current_->view.page == Page::Outcome ? "outcome" : PageName(current_->view.page);
        std::size_t index = 0;
        for (const TestKey& key : testKeys_) {
            if (key.page != page || index++ < pressedOnPage_) {
                continue;
            }
            if (GetTickCount64() - shownAtMs_ < key.afterMs) {
                return;
            }
            ++pressedOnPage_;
            HWND focus = GetFocus();
            if (focus == nullptr || !IsChild(hwnd, focus)) {
                focus = hwnd;
            }
            PostMessageW(focus, WM_KEYDOWN, key.key, 0);
            PostMessageW(focus, WM_KEYUP, key.key, 0xC0000000);
            return;
        }
    }

    void Log(const std::string& line) {
        if (logPath_.empty()) {
            return;
        }
        if (std::FILE* file = std::fopen(logPath_.c_str(), "ab")) {
            std::fprintf(file, "%s\n", line.c_str());
            std::fclose(file);
        }
    }

    const std::wstring title_;
    const std::string logPath_;
    const std::vector<TestKey> testKeys_;
    const ULONGLONG minimumPageMs_;
    UpdaterPages* pages_ = nullptr;

    // Shared with the road's thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable answered_;
    std::deque<PageView> pending_;
    std::optional<bool> answer_;
    std::optional<PageView> outcome_;
    bool finished_ = false;
    bool outcomeShown_ = false;
    int exitCode_ = ExitOk;
    std::uint64_t received_ = 0, total_ = 0;
    bool progressChanged_ = false;
    ULONGLONG downloadStartMs_ = 0;

    // The window's thread only.
    std::unique_ptr<PageConfig> current_;
    std::unique_ptr<PageConfig> previous_;
    std::wstring progressText_;
    std::wstring stoppingText_;
    ULONGLONG shownAtMs_ = 0;
    bool stopping_ = false;
    std::size_t pressedOnPage_ = 0;
};

void ShowMessage(const std::wstring& heading, const std::wstring& text, PCWSTR icon) {
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = L"hovrel-updater";
    config.pszMainIcon = icon;
    config.pszMainInstruction = heading.c_str();
    config.pszContent = text.c_str();
    config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
    TaskDialogIndirect(&config, nullptr, nullptr, nullptr);
}

std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(words[i]);
    }
    LocalFree(words);
    return arguments;
}

PageOptions PageOptionsOf(const Options& options) {
    PageOptions pages;
    pages.name = Utf8(options.displayName);
    pages.product = Utf8(options.product);
    pages.installed = Utf8(options.installedVersion);
    pages.quiet = options.quietIfCurrent;
    return pages;
}

std::wstring WindowTitle(const Options& options) {
    const std::wstring& name = options.displayName.empty() ? options.product : options.displayName;
    return name.empty() ? L"Update" : name + L" update";
}

int RunWindow(const Options& options) {
    hovrel::common::CancelFlag cancel;
    const char* logPath = std::getenv("HOVREL_UPDATER_TEST_LOG");
    const char* minimumPageMs = std::getenv("HOVREL_UPDATER_TEST_PAGE_MS");
    UpdaterWindow window(WindowTitle(options), logPath == nullptr ? "" : logPath,
                         minimumPageMs == nullptr ? 0 : std::strtoull(minimumPageMs, nullptr, 10));
    UpdaterPages pages(PageOptionsOf(options), window, cancel);
    window.Attach(pages);
    pages.Begin();
    std::thread road([&] {
        WindowsRoadSteps steps(options, pages, cancel);
        RunRoad(options, steps, pages, cancel);
    });
    const int code = window.Run();
    road.join();
    return code;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto parsed = ParseCommandLine(Arguments(), Program::Window);
    if (!parsed) {
        const std::string line = "hovrel-updater: " + parsed.reason();
        const std::string advice =
            "Run hovrel-updater --help for the commands, options and exit codes.";
        if (!WriteIfRedirected(STD_ERROR_HANDLE, line + "\n" + advice + "\n")) {
            ShowMessage(Wide(line), Wide(advice), TD_ERROR_ICON);
        }
        return ExitUsage;
    }
    if (parsed.value().command == Command::Help) {
        const std::string help = WindowHelp();
        if (!WriteIfRedirected(STD_OUTPUT_HANDLE, help)) {
            ShowMessage(L"hovrel-updater", Wide(help), nullptr);
        }
        return ExitOk;
    }
    return RunWindow(parsed.value());
}
