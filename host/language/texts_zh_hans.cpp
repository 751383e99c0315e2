// Simplified Chinese. Keys and placeholders as in texts_en.cpp; access keys
// follow the label in parentheses, as Windows writes them in Chinese.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} 更新"},
    {"title.plain", "更新"},

    {"checking.heading", "正在检查更新..."},
    {"checking.text", "正在向更新服务器查询最新版本。"},

    {"offer.heading.named", "{1} {2} 现已推出。"},
    {"offer.heading.plain", "版本 {1} 现已推出。"},
    {"offer.installed", "当前版本为 {1}。"},
    {"offer.installed.required", "当前版本为 {1}。此更新为必需更新。"},
    {"ready.heading.named", "{1} {2} 已准备好安装。"},
    {"ready.heading.plain", "版本 {1} 已准备好安装。"},
    {"notes.heading", "更新内容："},

    {"downloading.heading.named", "正在下载 {1} {2}..."},
    {"downloading.heading.plain", "正在下载版本 {1}..."},
    {"downloading.starting", "正在开始下载..."},
    {"progress.total.rate.left", "{1}/{2}，{3}，{4}，剩余 {5}"},
    {"progress.total.rate", "{1}/{2}，{3}，{4}"},
    {"progress.total", "{1}/{2}，{3}"},
    {"progress.rate", "{1}，{2}"},
    {"size.bytes", "{1} 字节"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/秒"},
    {"percent", "{1}%"},

    {"verifying.heading", "正在验证更新..."},
    {"verifying.text", "正在确认更新包与清单中指定的一致。"},
    {"waiting.heading", "正在等待应用关闭..."},
    {"waiting.text", "进程 {1} 结束后将安装更新。"},
    {"installing.heading.named", "正在安装 {1} {2}..."},
    {"installing.heading.plain", "正在安装版本 {1}..."},
    {"installing.text", "安装程序正在运行，这可能需要几分钟。"},
    {"stopping", "正在停止..."},

    {"installed.heading.named", "{1} {2} 已安装。"},
    {"installed.heading.plain", "版本 {1} 已安装。"},
    {"installed.text", "安装程序已成功完成。"},
    {"restart.heading", "重新启动以完成更新"},
    {"restart.text.named", "{1} {2} 已安装；必须重新启动 Windows 才能完成更新。"},
    {"restart.text.plain", "版本 {1} 已安装；必须重新启动 Windows 才能完成更新。"},
    {"restart.failed", "Windows 无法重新启动（错误 {1}）。请从“开始”菜单重新启动电脑以完成更新。"},
    {"uptodate.heading.named", "{1} 已是最新版本。"},
    {"uptodate.heading.plain", "此应用已是最新版本。"},
    {"uptodate.text", "当前版本为 {1}；最新版本为 {2}。"},
    {"uptodate.rollout", "版本 {1} 正在分批推送，稍后才会推送到这台电脑。"},
    {"uptodate.newer.windows",
     "版本 {1} 需要 Windows {2} 或更高版本；这台电脑的 Windows 版本为 {3}。"},
    {"downloaded.heading.named", "{1} {2} 已下载。"},
    {"downloaded.heading.plain", "版本 {1} 已下载。"},
    {"downloaded.text", "更新包位置：{1}"},

    {"failed.usage.heading", "无法启动更新。"},
    {"failed.usage.advice", "应用启动更新程序时使用了它无法识别的选项；请告知应用的发布者。"},
    {"failed.fetch.heading", "无法连接到更新服务器。"},
    {"failed.fetch.advice", "请检查网络连接，稍后重试。"},
    {"failed.manifest.heading", "无法使用更新信息。"},
    {"failed.manifest.advice", "请稍后重试；如果问题仍然存在，请告知应用的发布者。"},
    {"failed.download.heading", "无法下载更新。"},
    {"failed.download.advice", "请检查网络连接和可用磁盘空间，然后重试。"},
    {"failed.install.heading", "无法安装更新。"},
    {"failed.install.advice", "请关闭其他安装程序后重试；如果问题仍然存在，请告知应用的发布者。"},
    {"failed.cancelled.heading", "更新已停止。"},
    {"failed.cancelled.advice", "请再次运行更新程序以完成更新。"},
    {"failed.refused.heading", "出于安全考虑，更新已被拒绝。"},
    {"failed.refused.advice", "更新未通过安全检查，因此未安装任何内容；请告知应用的发布者。"},
    {"failed.other.heading", "更新已中止。"},
    {"failed.other.advice", "请稍后重试。"},
    {"failed.details", "详细信息：{1}"},
    {"failed.exit.code", "退出代码 {1}"},

    {"consent.heading.named", "是否允许 {1} 自动检查更新？"},
    {"consent.heading.plain", "是否允许此应用自动检查更新？"},
    {"consent.text", "它会不时向更新服务器查询，并在有新版本时提供给你；是否安装由你决定。"},

    {"button.install.now", "立即安装(&I)"},
    {"button.skip.version", "跳过此版本(&S)"},
    {"button.remind.later", "稍后提醒我(&R)"},
    {"button.restart.now", "立即重新启动(&R)"},
    {"button.later", "稍后(&L)"},
    {"button.check.automatically", "自动检查(&C)"},
    {"button.dont.check", "不检查(&D)"},
    {"button.ask.later", "稍后询问我(&A)"},
    {"button.cancel", "取消"},
    {"button.close", "关闭(&C)"},

    {"warning.not.authenticated", "未经身份验证：应用未提供公钥，因此不会检查更新信息的来源。"},
    {"warning.allow.unsigned",
     "更新信息未经身份验证（--allow-unsigned）：任何能够修改它的人都可以决定安装什么。"},
    {"warning.no.size", "更新信息未提供大小；在发布者补充大小之前，无法下载任何内容。"},
    {"warning.no.expiry",
     "已签名的更新信息没有过期日期，因此旧的副本可能被重放；请让发布者设置过期日期。"},
    {"warning.product", "更新信息针对的是产品“{1}”，但应用未说明自己是哪个产品；应用应传递 "
                        "--product {1}。"},
    {"warning.retry", "网络故障；将在 {3} 秒后重试（第 {1} 次，共 {2} 次）。"},
    {"warning.skip.not.saved", "无法保存跳过此版本的选择；此版本将再次提供给你。"},
    {"warning.state.not.saved", "无法保存更新设置；更新将在不保存设置的情况下继续。"},
    {"warning.relaunch.failed", "无法重新启动应用，请手动启动。"},
    {"text.not.utf8", "（此文本不是有效的 UTF-8。）"},
};

} // namespace

extern const Table kTextsZhHans = {"zh-Hans", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
