#pragma once

// The window: the road's pages as task dialog pages, one after another in
// one dialog, as the page queue hands them over.

#include "page_queue.h"
#include "pages.h"
#include "test_hooks.h"
#include "translation.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

namespace hovrel::updater {

class UpdaterDialog {
  public:
    UpdaterDialog(std::wstring title, road::PageQueue& queue, road::UpdaterPages& pages,
                  const language::Translation& texts, TestHooks& hooks);
    ~UpdaterDialog();
    UpdaterDialog(const UpdaterDialog&) = delete;
    UpdaterDialog& operator=(const UpdaterDialog&) = delete;

    // Returns when the window has closed: after the outcome page, when the
    // road ended without one, or at once when the road ended without a page.
    void Run();

  private:
    struct PageConfig;

    std::unique_ptr<PageConfig> Build(const road::PageView& view);
    static HRESULT CALLBACK Callback(HWND hwnd, UINT notification, WPARAM wParam, LPARAM,
                                     LONG_PTR data);
    HRESULT OnNotify(HWND hwnd, UINT notification, WPARAM wParam);
    static LRESULT CALLBACK EndSessionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data);
    void OnPageShown(HWND hwnd);
    void OnTimer(HWND hwnd);
    void ShowProgress(HWND hwnd, const road::ProgressSnapshot& progress);
    HRESULT OnButton(HWND hwnd, int id);
    // Replaces the page's text below the heading.
    void SetContent(HWND hwnd, std::wstring text);

    const std::wstring title_;
    road::PageQueue& queue_;
    road::UpdaterPages& pages_;
    const language::Translation& texts_;
    TestHooks& hooks_;
    std::unique_ptr<PageConfig> current_;
    std::unique_ptr<PageConfig> previous_; // the page left, read while the dialog navigates
    std::wstring content_;                 // the text SetContent gave the dialog
    ULONGLONG shownAtMs_ = 0;
    bool stopping_ = false;
};

// A one-page dialog of its own, for the usage error and the help text when
// standard output and error go nowhere. The texts are UTF-8.
void ShowMessage(const std::string& heading, const std::string& text, PCWSTR icon,
                 const language::Translation& texts);

// The consent page as a dialog of its own: true for Check automatically,
// false for Don't check, nothing when the user closed it undecided.
std::optional<bool> AskAutomaticChecks(const std::wstring& title, const road::PageView& view,
                                       const language::Translation& texts, TestHooks& hooks);

} // namespace hovrel::updater
