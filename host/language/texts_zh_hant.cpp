// Traditional Chinese, in the words Windows uses in Taiwan. Keys and
// placeholders as in texts_en.cpp; access keys follow the label in
// parentheses, as Windows writes them in Chinese.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} 更新"},
    {"title.plain", "更新"},

    {"checking.heading", "正在檢查更新..."},
    {"checking.text", "正在向更新伺服器查詢最新版本。"},

    {"offer.heading.named", "{1} {2} 現已推出。"},
    {"offer.heading.plain", "版本 {1} 現已推出。"},
    {"offer.installed", "目前版本為 {1}。"},
    {"offer.installed.required", "目前版本為 {1}。此更新為必要更新。"},
    {"ready.heading.named", "{1} {2} 已準備好安裝。"},
    {"ready.heading.plain", "版本 {1} 已準備好安裝。"},
    {"notes.heading", "更新內容："},

    {"downloading.heading.named", "正在下載 {1} {2}..."},
    {"downloading.heading.plain", "正在下載版本 {1}..."},
    {"downloading.starting", "正在開始下載..."},
    {"progress.total.rate.left", "{1}/{2}，{3}，{4}，剩餘 {5}"},
    {"progress.total.rate", "{1}/{2}，{3}，{4}"},
    {"progress.total", "{1}/{2}，{3}"},
    {"progress.rate", "{1}，{2}"},
    {"size.bytes", "{1} 位元組"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/秒"},
    {"percent", "{1}%"},

    {"verifying.heading", "正在驗證更新..."},
    {"verifying.text", "正在確認更新套件與資訊清單中指定的一致。"},
    {"waiting.heading", "正在等待應用程式關閉..."},
    {"waiting.text", "處理程序 {1} 結束後將安裝更新。"},
    {"installing.heading.named", "正在安裝 {1} {2}..."},
    {"installing.heading.plain", "正在安裝版本 {1}..."},
    {"installing.text", "安裝程式正在執行，這可能需要幾分鐘。"},
    {"stopping", "正在停止..."},

    {"installed.heading.named", "{1} {2} 已安裝。"},
    {"installed.heading.plain", "版本 {1} 已安裝。"},
    {"installed.text", "安裝程式已順利完成。"},
    {"restart.heading", "重新啟動以完成更新"},
    {"restart.text.named", "{1} {2} 已安裝；必須重新啟動 Windows 才能完成更新。"},
    {"restart.text.plain", "版本 {1} 已安裝；必須重新啟動 Windows 才能完成更新。"},
    {"restart.failed",
     "Windows 無法重新啟動（錯誤 {1}）。請從「開始」功能表重新啟動電腦以完成更新。"},
    {"uptodate.heading.named", "{1} 已是最新版本。"},
    {"uptodate.heading.plain", "此應用程式已是最新版本。"},
    {"uptodate.text", "目前版本為 {1}；最新版本為 {2}。"},
    {"uptodate.rollout", "版本 {1} 正在分階段推出，稍後才會提供給這部電腦。"},
    {"uptodate.newer.windows",
     "版本 {1} 需要 Windows {2} 或更新版本；這部電腦的 Windows 版本為 {3}。"},
    {"downloaded.heading.named", "{1} {2} 已下載。"},
    {"downloaded.heading.plain", "版本 {1} 已下載。"},
    {"downloaded.text", "更新套件位置：{1}"},

    {"failed.usage.heading", "無法開始更新。"},
    {"failed.usage.advice",
     "應用程式啟動更新程式時使用了它無法辨識的選項；請告知應用程式的發行者。"},
    {"failed.fetch.heading", "無法連線到更新伺服器。"},
    {"failed.fetch.advice", "請檢查網際網路連線，稍後再試一次。"},
    {"failed.manifest.heading", "無法使用更新資訊。"},
    {"failed.manifest.advice", "請稍後再試；如果問題持續發生，請告知應用程式的發行者。"},
    {"failed.download.heading", "無法下載更新。"},
    {"failed.download.advice", "請檢查網際網路連線和可用磁碟空間，然後再試一次。"},
    {"failed.install.heading", "無法安裝更新。"},
    {"failed.install.advice",
     "請關閉其他安裝程式後再試一次；如果問題持續發生，請告知應用程式的發行者。"},
    {"failed.cancelled.heading", "更新已停止。"},
    {"failed.cancelled.advice", "請再次執行更新程式以完成更新。"},
    {"failed.refused.heading", "基於安全考量，更新已遭拒絕。"},
    {"failed.refused.advice", "更新未通過安全性檢查，因此未安裝任何內容；請告知應用程式的發行者。"},
    {"failed.other.heading", "更新已中止。"},
    {"failed.other.advice", "請稍後再試。"},
    {"failed.details", "詳細資料：{1}"},
    {"failed.exit.code", "結束代碼 {1}"},

    {"consent.heading.named", "要讓 {1} 自動檢查更新嗎？"},
    {"consent.heading.plain", "要讓此應用程式自動檢查更新嗎？"},
    {"consent.text", "它會不時向更新伺服器查詢，並在有新版本時提供給您；是否安裝由您決定。"},

    {"button.install.now", "立即安裝(&I)"},
    {"button.skip.version", "略過此版本(&S)"},
    {"button.remind.later", "稍後提醒我(&R)"},
    {"button.restart.now", "立即重新啟動(&R)"},
    {"button.later", "稍後(&L)"},
    {"button.check.automatically", "自動檢查(&C)"},
    {"button.dont.check", "不要檢查(&D)"},
    {"button.ask.later", "稍後再問我(&A)"},
    {"button.cancel", "取消"},
    {"button.close", "關閉(&C)"},

    {"warning.not.authenticated", "未經驗證：應用程式未提供公開金鑰，因此不會檢查更新資訊的來源。"},
    {"warning.allow.unsigned",
     "更新資訊未經驗證（--allow-unsigned）：任何能修改它的人都能決定要安裝的內容。"},
    {"warning.no.size", "更新資訊未提供大小；在發行者加入大小之前，無法下載任何內容。"},
    {"warning.no.expiry",
     "已簽署的更新資訊沒有到期日，因此舊的複本可能遭到重送；請要求發行者設定到期日。"},
    {"warning.product", "更新資訊適用於產品「{1}」，但應用程式未說明自己是哪個產品；應用程式"
                        "應傳遞 --product {1}。"},
    {"warning.retry", "網路發生錯誤；將在 {3} 秒後重試（第 {1} 次，共 {2} 次）。"},
    {"warning.skip.not.saved", "無法儲存略過此版本的選擇；之後仍會再次提供此版本。"},
    {"warning.state.not.saved", "無法儲存更新設定；更新將在沒有這些設定的情況下繼續。"},
    {"warning.relaunch.failed", "無法重新啟動應用程式，請手動啟動。"},
    {"text.not.utf8", "（此文字不是有效的 UTF-8。）"},
};

} // namespace

extern const Table kTextsZhHant = {"zh-Hant", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
