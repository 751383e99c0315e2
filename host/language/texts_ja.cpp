// Japanese. Keys and placeholders as in texts_en.cpp; access keys follow the
// label in parentheses, as Windows writes them in Japanese.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} の更新"},
    {"title.plain", "更新"},

    {"checking.heading", "更新プログラムを確認しています..."},
    {"checking.text", "最新バージョンを更新サーバーに問い合わせています。"},

    {"offer.heading.named", "{1} {2} を利用できます。"},
    {"offer.heading.plain", "バージョン {1} を利用できます。"},
    {"offer.installed", "現在のバージョンは {1} です。"},
    {"offer.installed.required", "現在のバージョンは {1} です。この更新は必須です。"},
    {"ready.heading.named", "{1} {2} をインストールする準備ができました。"},
    {"ready.heading.plain", "バージョン {1} をインストールする準備ができました。"},
    {"notes.heading", "更新内容:"},

    {"downloading.heading.named", "{1} {2} をダウンロードしています..."},
    {"downloading.heading.plain", "バージョン {1} をダウンロードしています..."},
    {"downloading.starting", "ダウンロードを開始しています..."},
    {"progress.total.rate.left", "{1} / {2}、{3}、{4}、残り {5}"},
    {"progress.total.rate", "{1} / {2}、{3}、{4}"},
    {"progress.total", "{1} / {2}、{3}"},
    {"progress.rate", "{1}、{2}"},
    {"size.bytes", "{1} バイト"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/秒"},
    {"percent", "{1}%"},

    {"verifying.heading", "更新プログラムを検証しています..."},
    {"verifying.text", "パッケージがマニフェストに記載されたものかどうかを確認しています。"},
    {"waiting.heading", "アプリが終了するのを待っています..."},
    {"waiting.text", "プロセス {1} が終了すると、更新プログラムがインストールされます。"},
    {"installing.heading.named", "{1} {2} をインストールしています..."},
    {"installing.heading.plain", "バージョン {1} をインストールしています..."},
    {"installing.text", "インストーラーを実行しています。数分かかる場合があります。"},
    {"stopping", "停止しています..."},

    {"installed.heading.named", "{1} {2} がインストールされました。"},
    {"installed.heading.plain", "バージョン {1} がインストールされました。"},
    {"installed.text", "インストーラーが正常に終了しました。"},
    {"restart.heading", "更新を完了するには再起動してください"},
    {"restart.text.named",
     "{1} {2} がインストールされました。完了するには Windows を再起動する必要があります。"},
    {"restart.text.plain", "バージョン {1} がインストールされました。完了するには Windows "
                           "を再起動する必要があります。"},
    {"restart.failed", "Windows を再起動できませんでした (エラー {1})。更新を完了するには、"
                       "スタート メニューから再起動してください。"},
    {"uptodate.heading.named", "{1} は最新の状態です。"},
    {"uptodate.heading.plain", "このアプリは最新の状態です。"},
    {"uptodate.text", "現在のバージョンは {1}、最新バージョンは {2} です。"},
    {"uptodate.rollout",
     "バージョン {1} は段階的に配信されており、このコンピューターには後ほど届きます。"},
    {"uptodate.newer.windows",
     "バージョン {1} には Windows {2} 以降が必要です。このコンピューターは {3} です。"},
    {"downloaded.heading.named", "{1} {2} をダウンロードしました。"},
    {"downloaded.heading.plain", "バージョン {1} をダウンロードしました。"},
    {"downloaded.text", "パッケージの場所: {1}"},

    {"failed.usage.heading", "更新を開始できませんでした。"},
    {"failed.usage.advice", "更新ツールが認識できないオプションがアプリから指定されました。"
                            "アプリの発行元にお知らせください。"},
    {"failed.fetch.heading", "更新サーバーに接続できませんでした。"},
    {"failed.fetch.advice", "インターネット接続を確認して、後でもう一度お試しください。"},
    {"failed.manifest.heading", "更新情報を使用できません。"},
    {"failed.manifest.advice", "後でもう一度お試しください。問題が続く場合は、アプリの発行元に"
                               "お知らせください。"},
    {"failed.download.heading", "更新プログラムをダウンロードできませんでした。"},
    {"failed.download.advice",
     "インターネット接続とディスクの空き領域を確認してから、もう一度お試しください。"},
    {"failed.install.heading", "更新プログラムをインストールできませんでした。"},
    {"failed.install.advice", "ほかのインストールを終了してから、もう一度お試しください。"
                              "問題が続く場合は、アプリの発行元にお知らせください。"},
    {"failed.cancelled.heading", "更新は中止されました。"},
    {"failed.cancelled.advice", "完了するには、もう一度更新を実行してください。"},
    {"failed.refused.heading", "安全のため、更新は拒否されました。"},
    {"failed.refused.advice", "安全性の確認に合格しなかったため、何もインストールされて"
                              "いません。アプリの発行元にお知らせください。"},
    {"failed.other.heading", "更新が停止しました。"},
    {"failed.other.advice", "後でもう一度お試しください。"},
    {"failed.details", "詳細: {1}"},
    {"failed.exit.code", "終了コード {1}"},

    {"consent.heading.named", "{1} の更新プログラムを自動的に確認しますか?"},
    {"consent.heading.plain", "このアプリの更新プログラムを自動的に確認しますか?"},
    {"consent.text", "更新サーバーに時々問い合わせて、新しいバージョンが出るたびにお知らせ"
                     "します。インストールするかどうかはご自身で決められます。"},

    {"button.install.now", "今すぐインストール(&I)"},
    {"button.skip.version", "この更新をスキップ(&S)"},
    {"button.remind.later", "後で通知する(&R)"},
    {"button.restart.now", "今すぐ再起動(&R)"},
    {"button.later", "後で(&L)"},
    {"button.check.automatically", "自動的に確認する(&C)"},
    {"button.dont.check", "確認しない(&D)"},
    {"button.ask.later", "後で決める(&A)"},
    {"button.cancel", "キャンセル"},
    {"button.close", "閉じる(&C)"},

    {"warning.not.authenticated",
     "認証されていません: アプリから公開キーが渡されなかったため、更新情報の出所は"
     "検証されません。"},
    {"warning.allow.unsigned",
     "更新情報は認証されていません (--allow-unsigned)。更新情報を変更できる人なら誰でも、"
     "インストールされる内容を決められます。"},
    {"warning.no.size", "更新情報にサイズが記載されていません。発行元がサイズを追加するまで、"
                        "何もダウンロードできません。"},
    {"warning.no.expiry", "署名された更新情報に有効期限がないため、古い更新情報が再送される"
                          "おそれがあります。有効期限を設定するよう発行元に依頼してください。"},
    {"warning.product", "更新情報は製品「{1}」用ですが、アプリが製品を指定していません。"
                        "アプリは --product {1} を渡す必要があります。"},
    {"warning.retry", "ネットワーク エラーです。{3} 秒後に再試行します ({1}/{2})。"},
    {"warning.skip.not.saved",
     "このバージョンをスキップする設定を保存できなかったため、再び案内されます。"},
    {"warning.state.not.saved",
     "更新の設定を保存できませんでした。設定は保存されないまま更新を続行します。"},
    {"warning.relaunch.failed", "アプリを再起動できませんでした。手動で起動してください。"},
    {"text.not.utf8", "(このテキストは有効な UTF-8 ではありません。)"},
};

} // namespace

extern const Table kTextsJa = {"ja", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
