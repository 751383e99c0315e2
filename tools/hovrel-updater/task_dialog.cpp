#include "task_dialog.h"

#include "handles.h"
#include "policy.h"
#include "progress.h"
#include "utf8.h"

#include <deque>
#include <vector>

using namespace hovrel::road;

namespace hovrel::updater {

namespace {

constexpr int kRestartNow = 100;
constexpr int kInstallNow = 101;
constexpr int kSkipVersion = 102;
constexpr int kCheckAutomatically = 103;
constexpr int kDontCheck = 104;
constexpr int kProgressRange = 1000;

// The pages' texts come from the manifest and the road in UTF-8; one that
// is not says so rather than showing as question marks.
std::wstring Displayed(const std::string& text, const language::Translation& texts) {
    std::wstring wide;
    if (!common::Utf8ToWide(text, wide)) {
        // The tables' own texts are valid UTF-8, as the texts test checks.
        common::Utf8ToWide(texts.Say("text.not.utf8"), wide);
    }
    return wide;
}

DWORD RightToLeft(const language::Translation& texts) {
    return texts.table().rightToLeft ? TDF_RTL_LAYOUT : 0;
}

// The labels stay where they are while buttons point at them.
struct Buttons {
    std::deque<std::wstring> labels;
    std::vector<TASKDIALOG_BUTTON> buttons;

    void Add(int id, const char* key, const language::Translation& texts) {
        labels.push_back(Displayed(texts.Say(key), texts));
        buttons.push_back({id, labels.back().c_str()});
    }
};

// The shutdown privilege is in a user's token, but disabled. Returns the
// error when Windows would not restart, else 0.
DWORD RestartWindows() {
    UniqueToken token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
            AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    const DWORD reason = SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION |
                         SHTDN_REASON_FLAG_PLANNED;
    if (InitiateShutdownW(nullptr, nullptr, 0, SHUTDOWN_RESTART, reason) == ERROR_SUCCESS ||
        ExitWindowsEx(EWX_REBOOT, reason)) {
        return 0;
    }
    const DWORD error = GetLastError();
    return error == 0 ? ERROR_GEN_FAILURE : error;
}

} // namespace

// One page's task dialog configuration and the texts it points to, which
// must live as long as the page is shown.
struct UpdaterDialog::PageConfig {
    PageView view;
    std::wstring title, heading, text, notes, footer;
    Buttons buttons;
    TASKDIALOGCONFIG config = {};
    bool cancellable = false; // Cancel stops the road
};

UpdaterDialog::UpdaterDialog(std::wstring title, PageQueue& queue, UpdaterPages& pages,
                             const language::Translation& texts, TestHooks& hooks)
    : title_(std::move(title)), queue_(queue), pages_(pages), texts_(texts), hooks_(hooks) {}

UpdaterDialog::~UpdaterDialog() = default;

void UpdaterDialog::Run() {
    const WindowStep first = queue_.WaitForFirst();
    if (first.kind == WindowStep::Kind::Show) {
        current_ = Build(first.view);
        TaskDialogIndirect(&current_->config, nullptr, nullptr, nullptr);
    }
    // The window may have been closed from outside while the road still runs.
    queue_.Abandon();
}

std::unique_ptr<UpdaterDialog::PageConfig> UpdaterDialog::Build(const PageView& view) {
    auto page = std::make_unique<PageConfig>();
    page->view = view;
    page->title = title_;
    page->heading = Displayed(view.heading, texts_);
    page->text = Displayed(view.text, texts_);
    page->notes = Displayed(view.notes, texts_);
    page->footer = Displayed(view.footer, texts_);
    Buttons& buttons = page->buttons;
    TASKDIALOGCONFIG& config = page->config;
    config.cbSize = sizeof config;
    config.hInstance = GetModuleHandleW(nullptr);
    config.dwFlags = TDF_CALLBACK_TIMER | TDF_SIZE_TO_CONTENT | RightToLeft(texts_);
    config.pszWindowTitle = page->title.c_str();
    config.pszMainInstruction = page->heading.c_str();
    config.pszContent = page->text.empty() ? nullptr : page->text.c_str();
    config.pfCallback = &UpdaterDialog::Callback;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
    config.cxWidth = 260;
    switch (view.page) {
    case Page::Checking:
    case Page::Verifying:
    case Page::Installing:
        // The common buttons speak Windows' language, not necessarily the window's.
        config.dwFlags |= TDF_SHOW_MARQUEE_PROGRESS_BAR;
        buttons.Add(IDCANCEL, "button.cancel", texts_);
        page->cancellable = view.page != Page::Installing;
        break;
    case Page::Downloading:
        config.dwFlags |= TDF_SHOW_PROGRESS_BAR;
        buttons.Add(IDCANCEL, "button.cancel", texts_);
        page->cancellable = true;
        break;
    case Page::Offer:
        config.pszMainIcon = TD_INFORMATION_ICON;
        buttons.Add(kInstallNow, "button.install.now", texts_);
        if (view.skippable) {
            buttons.Add(kSkipVersion, "button.skip.version", texts_);
        }
        if (!view.mandatory) {
            buttons.Add(IDCANCEL, "button.remind.later", texts_);
        }
        config.nDefaultButton = kInstallNow;
        if (!page->footer.empty()) {
            config.pszFooterIcon = TD_WARNING_ICON;
            config.pszFooter = page->footer.c_str();
        }
        // Shown in full: Wine draws the expando control's label cut short.
        if (!page->notes.empty()) {
            page->text +=
                L"\n\n" + Displayed(texts_.Say("notes.heading"), texts_) + L"\n" + page->notes;
            config.pszContent = page->text.c_str();
        }
        break;
    case Page::Consent:
        break;
    case Page::Outcome:
        config.dwFlags |= TDF_ALLOW_DIALOG_CANCELLATION;
        if (view.outcome == Outcome::RestartNeeded) {
            config.pszMainIcon = TD_WARNING_ICON;
            buttons.Add(kRestartNow, "button.restart.now", texts_);
            buttons.Add(IDCANCEL, "button.later", texts_);
            // Enter must not restart the computer by accident.
            config.nDefaultButton = IDCANCEL;
        } else {
            config.pszMainIcon =
                view.outcome == Outcome::Failed ? TD_ERROR_ICON : TD_INFORMATION_ICON;
            // IDCANCEL, so that Escape closes it under Wine too.
            buttons.Add(IDCANCEL, "button.close", texts_);
        }
        if (!page->footer.empty()) {
            config.pszFooter = page->footer.c_str();
        }
        break;
    }
    if (!buttons.buttons.empty()) {
        config.pButtons = buttons.buttons.data();
        config.cButtons = static_cast<UINT>(buttons.buttons.size());
    }
    return page;
}

HRESULT CALLBACK UpdaterDialog::Callback(HWND hwnd, UINT notification, WPARAM wParam, LPARAM,
                                         LONG_PTR data) {
    return reinterpret_cast<UpdaterDialog*>(data)->OnNotify(hwnd, notification, wParam);
}

// Logoff and shutdown stop the road as Cancel does, so no installer starts
// once Windows is ending the session. The task dialog's callback is not told
// of them; its window is.
LRESULT CALLBACK UpdaterDialog::EndSessionProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_QUERYENDSESSION || (message == WM_ENDSESSION && wParam)) {
        reinterpret_cast<UpdaterDialog*>(data)->pages_.Cancel();
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &UpdaterDialog::EndSessionProc, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

HRESULT UpdaterDialog::OnNotify(HWND hwnd, UINT notification, WPARAM wParam) {
    switch (notification) {
    case TDN_CREATED:
        SetWindowSubclass(hwnd, &UpdaterDialog::EndSessionProc, 1,
                          reinterpret_cast<DWORD_PTR>(this));
        OnPageShown(hwnd);
        return S_OK;
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

void UpdaterDialog::OnPageShown(HWND hwnd) {
    const PageView& view = current_->view;
    shownAtMs_ = GetTickCount64();
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
    hooks_.PageShown(hwnd, view);
}

void UpdaterDialog::OnTimer(HWND hwnd) {
    // Every page the road reached is shown, each for one tick at least (a
    // test may ask for longer, to take its picture).
    const WindowStep step =
        hooks_.PageMayChange(GetTickCount64() - shownAtMs_) ? queue_.Next() : WindowStep{};
    const std::optional<ProgressSnapshot> progress = queue_.TakeProgress();
    if (step.kind == WindowStep::Kind::Close) {
        EndDialog(hwnd, IDCANCEL);
        return;
    }
    if (step.kind == WindowStep::Kind::Show) {
        previous_ = std::move(current_);
        current_ = Build(step.view);
        SendMessageW(hwnd, TDM_NAVIGATE_PAGE, 0, reinterpret_cast<LPARAM>(&current_->config));
        return;
    }
    if (progress && current_->view.page == Page::Downloading && !stopping_) {
        ShowProgress(hwnd, *progress);
    }
    hooks_.PressDueKey(hwnd, current_->view, GetTickCount64() - shownAtMs_);
}

void UpdaterDialog::ShowProgress(HWND hwnd, const ProgressSnapshot& progress) {
    if (progress.total > 0) {
        const auto position =
            static_cast<WPARAM>(progress.received * kProgressRange / progress.total);
        SendMessageW(hwnd, TDM_SET_PROGRESS_BAR_POS, position, 0);
    }
    const std::uint64_t elapsedMs = GetTickCount64() - progress.downloadStartMs;
    SetContent(hwnd,
               Displayed(FormatProgressLine(texts_, progress.received, progress.total, elapsedMs),
                         texts_));
}

HRESULT UpdaterDialog::OnButton(HWND hwnd, int id) {
    const PageView& view = current_->view;
    if (view.page == Page::Offer) {
        // Escape still sends IDCANCEL when a mandatory offer has no Later.
        if (view.mandatory && id != kInstallNow) {
            return S_FALSE;
        }
        if (id == kSkipVersion) {
            pages_.SkipChosen();
        }
        queue_.Answer(id == kInstallNow);
        // The road answers with the next page, or closes the window.
        return S_FALSE;
    }
    if (view.page == Page::Outcome) {
        if (id != kRestartNow) {
            return S_OK;
        }
        const DWORD error = RestartWindows();
        if (error == 0) {
            return S_OK;
        }
        SetContent(hwnd, Displayed(texts_.Say("restart.failed", {std::to_string(error)}), texts_));
        return S_FALSE;
    }
    if (id == IDCANCEL && current_->cancellable && !stopping_) {
        stopping_ = true;
        pages_.Cancel();
        SetContent(hwnd, Displayed(texts_.Say("stopping"), texts_));
        SendMessageW(hwnd, TDM_ENABLE_BUTTON, IDCANCEL, FALSE);
    }
    // The road ends and the window closes with it.
    return S_FALSE;
}

void UpdaterDialog::SetContent(HWND hwnd, std::wstring text) {
    content_ = std::move(text);
    SendMessageW(hwnd, TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                 reinterpret_cast<LPARAM>(content_.c_str()));
}

void ShowMessage(const std::string& heading, const std::string& text, PCWSTR icon,
                 const language::Translation& texts) {
    const std::wstring wideHeading = Displayed(heading, texts);
    const std::wstring wideText = Displayed(text, texts);
    Buttons buttons;
    buttons.Add(IDCANCEL, "button.close", texts);
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | RightToLeft(texts);
    config.pszWindowTitle = L"hovrel-updater";
    config.pszMainIcon = icon;
    config.pszMainInstruction = wideHeading.c_str();
    config.pszContent = wideText.c_str();
    config.pButtons = buttons.buttons.data();
    config.cButtons = 1;
    TaskDialogIndirect(&config, nullptr, nullptr, nullptr);
}

namespace {

struct ConsentDialog {
    TestHooks& hooks;
    const PageView& view;
    ULONGLONG shownAtMs = 0;
};

HRESULT CALLBACK ConsentCallback(HWND hwnd, UINT notification, WPARAM, LPARAM, LONG_PTR data) {
    auto& dialog = *reinterpret_cast<ConsentDialog*>(data);
    if (notification == TDN_CREATED) {
        dialog.shownAtMs = GetTickCount64();
        dialog.hooks.PageShown(hwnd, dialog.view);
    } else if (notification == TDN_TIMER) {
        dialog.hooks.PressDueKey(hwnd, dialog.view, GetTickCount64() - dialog.shownAtMs);
    }
    return S_OK;
}

} // namespace

std::optional<bool> AskAutomaticChecks(const std::wstring& title, const PageView& view,
                                       const language::Translation& texts, TestHooks& hooks) {
    const std::wstring heading = Displayed(view.heading, texts);
    const std::wstring text = Displayed(view.text, texts);
    // Escape reaches a dialog through its IDCANCEL button.
    Buttons buttons;
    buttons.Add(kCheckAutomatically, "button.check.automatically", texts);
    buttons.Add(kDontCheck, "button.dont.check", texts);
    buttons.Add(IDCANCEL, "button.ask.later", texts);
    ConsentDialog dialog{hooks, view};
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.hInstance = GetModuleHandleW(nullptr);
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_CALLBACK_TIMER | TDF_SIZE_TO_CONTENT |
                     RightToLeft(texts);
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszMainInstruction = heading.c_str();
    config.pszContent = text.c_str();
    config.pButtons = buttons.buttons.data();
    config.cButtons = static_cast<UINT>(buttons.buttons.size());
    config.nDefaultButton = kCheckAutomatically;
    config.cxWidth = 260;
    config.pfCallback = ConsentCallback;
    config.lpCallbackData = reinterpret_cast<LONG_PTR>(&dialog);
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
        return std::nullopt;
    }
    if (pressed == kCheckAutomatically || pressed == kDontCheck) {
        return pressed == kCheckAutomatically;
    }
    // Escape or the window closed: the question stays open.
    return std::nullopt;
}

} // namespace hovrel::updater
