#include "task_dialog.h"

#include "policy.h"
#include "progress.h"
#include "utf8.h"

#include <cstdio>

using namespace hovrel::road;

namespace hovrel::updater {

namespace {

constexpr int kRestartNow = 100;
constexpr int kInstallNow = 101;
constexpr int kProgressRange = 1000;

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

} // namespace

std::wstring Wide(const std::string& text) {
    std::wstring wide;
    return hovrel::common::Utf8ToWide(text, wide) ? wide : std::wstring(L"?");
}

std::string Utf8(const std::wstring& wide) {
    std::string text;
    return hovrel::common::WideToUtf8(wide, text) ? text : std::string("?");
}

int UpdaterWindow::Run() {
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

void UpdaterWindow::Show(const PageView& view) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (view.page == Page::Downloading) {
        // The rate counts from the download's start, not from when its
        // page appears.
        downloadStartMs_ = GetTickCount64();
    }
    pending_.push_back(view);
    changed_.notify_all();
}

void UpdaterWindow::Progress(std::uint64_t received, std::uint64_t total) {
    std::lock_guard<std::mutex> lock(mutex_);
    received_ = received;
    total_ = total;
    progressChanged_ = true;
}

bool UpdaterWindow::Ask(const PageView& offer) {
    std::unique_lock<std::mutex> lock(mutex_);
    answer_.reset();
    pending_.push_back(offer);
    changed_.notify_all();
    answered_.wait(lock, [this] { return answer_.has_value(); });
    return *answer_;
}

void UpdaterWindow::Finish(const PageView* outcome, int exitCode) {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    exitCode_ = exitCode;
    if (outcome != nullptr) {
        outcome_ = *outcome;
    }
    changed_.notify_all();
}

std::unique_ptr<PageConfig> UpdaterWindow::Build(const PageView& view) {
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

HRESULT CALLBACK UpdaterWindow::Callback(HWND hwnd, UINT notification, WPARAM wParam, LPARAM,
                                         LONG_PTR data) {
    return reinterpret_cast<UpdaterWindow*>(data)->OnNotify(hwnd, notification, wParam);
}

HRESULT UpdaterWindow::OnNotify(HWND hwnd, UINT notification, WPARAM wParam) {
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

void UpdaterWindow::OnPageShown(HWND hwnd) {
    const PageView& view = current_->view;
    shownAtMs_ = GetTickCount64();
    pressedOnPage_ = 0;
    if (view.page != Page::Downloading && view.page != Page::Offer && view.page != Page::Outcome) {
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

void UpdaterWindow::OnTimer(HWND hwnd) {
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

void UpdaterWindow::ShowProgress(HWND hwnd, std::uint64_t received, std::uint64_t total,
                                 std::uint64_t elapsedMs) {
    if (total > 0) {
        const auto position = static_cast<WPARAM>(received * kProgressRange / total);
        SendMessageW(hwnd, TDM_SET_PROGRESS_BAR_POS, position, 0);
    }
    progressText_ = Wide(FormatProgressLine(received, total, elapsedMs, ", "));
    SendMessageW(hwnd, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                 reinterpret_cast<LPARAM>(progressText_.c_str()));
}

HRESULT UpdaterWindow::OnButton(HWND hwnd, int id) {
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
void UpdaterWindow::PressTestKey(HWND hwnd) {
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

void UpdaterWindow::Log(const std::string& line) {
    if (logPath_.empty()) {
        return;
    }
    if (std::FILE* file = std::fopen(logPath_.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

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

} // namespace hovrel::updater
