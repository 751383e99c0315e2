#pragma once

// The window: the road's pages as task dialog pages, one after another in
// one dialog.

#include "pages.h"
#include "test_hooks.h"

#include <windows.h>
#include <commctrl.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hovrel::updater {

std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& wide);

// One page's task dialog configuration and the texts it points to, which
// must live as long as the page is shown.
struct PageConfig {
    road::PageView view;
    std::wstring title, heading, text, notes, footer;
    std::vector<TASKDIALOG_BUTTON> buttons;
    TASKDIALOGCONFIG config = {};
    bool cancellable = false; // Cancel stops the road
};

class UpdaterWindow : public road::PageSink {
  public:
    UpdaterWindow(std::wstring title, std::string logPath, ULONGLONG minimumPageMs)
        : title_(std::move(title)), logPath_(std::move(logPath)), testKeys_(ReadTestKeys()),
          minimumPageMs_(minimumPageMs) {}

    void Attach(road::UpdaterPages& pages) { pages_ = &pages; }

    // Runs the window until the road has finished and the outcome was seen;
    // shows nothing when the road ends without a page.
    int Run();

    void Show(const road::PageView& view) override;
    void Progress(std::uint64_t received, std::uint64_t total) override;
    bool Ask(const road::PageView& offer) override;
    void Finish(const road::PageView* outcome, int exitCode) override;

  private:
    std::unique_ptr<PageConfig> Build(const road::PageView& view);
    static HRESULT CALLBACK Callback(HWND hwnd, UINT notification, WPARAM wParam, LPARAM,
                                     LONG_PTR data);
    HRESULT OnNotify(HWND hwnd, UINT notification, WPARAM wParam);
    void OnPageShown(HWND hwnd);
    void OnTimer(HWND hwnd);
    void ShowProgress(HWND hwnd, std::uint64_t received, std::uint64_t total,
                      std::uint64_t elapsedMs);
    HRESULT OnButton(HWND hwnd, int id);
    void PressTestKey(HWND hwnd);
    void Log(const std::string& line);

    const std::wstring title_;
    const std::string logPath_;
    const std::vector<TestKey> testKeys_;
    const ULONGLONG minimumPageMs_;
    road::UpdaterPages* pages_ = nullptr;

    // Shared with the road's thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable answered_;
    std::deque<road::PageView> pending_;
    std::optional<bool> answer_;
    std::optional<road::PageView> outcome_;
    bool finished_ = false;
    bool outcomeShown_ = false;
    int exitCode_ = road::ExitOk;
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

void ShowMessage(const std::wstring& heading, const std::wstring& text, PCWSTR icon);

} // namespace hovrel::updater
