// The buttons of each page in one row of the task dialog, measured with the
// message font (GetTextExtentPoint32W), for every registered language: a
// row that does not fit wraps or cuts its labels. Wine's message font is
// not Windows' Segoe UI 9 pt, so the margin below is generous.

#include "texts.h"
#include "utf8.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hovrel::language;

namespace {

class MessageFont {
  public:
    MessageFont() {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
        // Dialog units as Windows derives them: the average of the Latin letters.
        baseUnitX_ = Width(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
    }
    ~MessageFont() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    MessageFont(const MessageFont&) = delete;
    MessageFont& operator=(const MessageFont&) = delete;

    double Width(const std::wstring& text) const {
        SIZE size = {};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    double Units(double dialogUnits) const { return dialogUnits * baseUnitX_ / 4.0; }

  private:
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    double baseUnitX_ = 0;
};

// A push button: its label without the access key's "&", 10 dialog units
// each side, 50 at least; 4 between buttons.
double ButtonWidth(const MessageFont& font, const char* label) {
    std::wstring wide;
    hovrel::common::Utf8ToWide(label, wide);
    std::wstring shown;
    for (const wchar_t c : wide) {
        if (c != L'&') {
            shown += c;
        }
    }
    return std::max(font.Width(shown) + font.Units(20), font.Units(50));
}

TEST(TextFit, EachPagesButtonsFitOneRow) {
    const MessageFont font;
    // task_dialog.cpp's cxWidth.
    const double row = font.Units(260);
    ASSERT_GT(row, 100.0);
    const std::vector<std::vector<const char*>> rows = {
        {"button.install.now", "button.skip.version", "button.remind.later"},
        {"button.check.automatically", "button.dont.check", "button.ask.later"},
        {"button.restart.now", "button.later"},
        {"button.cancel"},
        {"button.close"},
    };
    for (const Table* table : Tables()) {
        for (const auto& buttons : rows) {
            double width = font.Units(4) * static_cast<double>(buttons.size() - 1);
            std::string labels;
            for (const char* key : buttons) {
                const char* label = Find(*table, key);
                ASSERT_NE(label, nullptr) << table->tag << " " << key;
                width += ButtonWidth(font, label);
                labels += std::string(" [") + label + "]";
            }
            EXPECT_LE(width, row) << table->tag << labels << ": " << width << " of " << row
                                  << " pixels";
        }
    }
}

} // namespace
