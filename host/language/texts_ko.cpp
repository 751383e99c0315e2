// Korean. Keys and placeholders as in texts_en.cpp; access keys follow the
// label in parentheses, as Windows writes them in Korean. A noun such as
// "버전" follows each placeholder that takes a particle, whose form would
// otherwise depend on how the inserted text ends.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} 업데이트"},
    {"title.plain", "업데이트"},

    {"checking.heading", "업데이트 확인 중..."},
    {"checking.text", "업데이트 서버에 최신 버전을 확인하고 있습니다."},

    {"offer.heading.named", "{1} {2} 버전을 사용할 수 있습니다."},
    {"offer.heading.plain", "{1} 버전을 사용할 수 있습니다."},
    {"offer.installed", "현재 설치된 버전: {1}"},
    {"offer.installed.required", "현재 설치된 버전: {1}. 이 업데이트는 필수입니다."},
    {"ready.heading.named", "{1} {2} 버전을 설치할 준비가 되었습니다."},
    {"ready.heading.plain", "{1} 버전을 설치할 준비가 되었습니다."},
    {"notes.heading", "새로운 기능:"},

    {"downloading.heading.named", "{1} {2} 버전 다운로드 중..."},
    {"downloading.heading.plain", "{1} 버전 다운로드 중..."},
    {"downloading.starting", "다운로드를 시작하는 중..."},
    {"progress.total.rate.left", "{1}/{2}, {3}, {4}, {5} 남음"},
    {"progress.total.rate", "{1}/{2}, {3}, {4}"},
    {"progress.total", "{1}/{2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1}바이트"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/초"},
    {"percent", "{1}%"},

    {"verifying.heading", "업데이트 검증 중..."},
    {"verifying.text", "패키지가 매니페스트에 명시된 패키지인지 확인하고 있습니다."},
    {"waiting.heading", "앱이 닫히기를 기다리는 중..."},
    {"waiting.text", "{1}번 프로세스가 종료되면 업데이트가 설치됩니다."},
    {"installing.heading.named", "{1} {2} 버전 설치 중..."},
    {"installing.heading.plain", "{1} 버전 설치 중..."},
    {"installing.text", "설치 관리자가 실행 중입니다. 몇 분 정도 걸릴 수 있습니다."},
    {"stopping", "중지하는 중..."},

    {"installed.heading.named", "{1} {2} 버전이 설치되었습니다."},
    {"installed.heading.plain", "{1} 버전이 설치되었습니다."},
    {"installed.text", "설치 관리자가 성공적으로 완료되었습니다."},
    {"restart.heading", "업데이트를 완료하려면 다시 시작하세요"},
    {"restart.text.named",
     "{1} {2} 버전이 설치되었습니다. 완료하려면 Windows를 다시 시작해야 합니다."},
    {"restart.text.plain", "{1} 버전이 설치되었습니다. 완료하려면 Windows를 다시 시작해야 합니다."},
    {"restart.failed", "Windows를 다시 시작하지 못했습니다(오류 {1}). 업데이트를 완료하려면 "
                       "시작 메뉴에서 다시 시작하세요."},
    {"uptodate.heading.named", "{1} 앱이 최신 상태입니다."},
    {"uptodate.heading.plain", "이 앱은 최신 상태입니다."},
    {"uptodate.text", "현재 설치된 버전: {1}, 최신 버전: {2}"},
    {"uptodate.rollout", "{1} 버전은 단계적으로 배포되고 있어 이 컴퓨터에는 나중에 제공됩니다."},
    {"uptodate.newer.windows",
     "{1} 버전에는 Windows {2} 이상이 필요합니다. 이 컴퓨터의 Windows 버전: {3}"},
    {"downloaded.heading.named", "{1} {2} 버전을 다운로드했습니다."},
    {"downloaded.heading.plain", "{1} 버전을 다운로드했습니다."},
    {"downloaded.text", "패키지 위치: {1}"},

    {"failed.usage.heading", "업데이트를 시작할 수 없습니다."},
    {"failed.usage.advice", "업데이트 프로그램이 인식할 수 없는 옵션을 앱이 전달했습니다. 앱 "
                            "게시자에게 알려 주세요."},
    {"failed.fetch.heading", "업데이트 서버에 연결할 수 없습니다."},
    {"failed.fetch.advice", "인터넷 연결을 확인하고 나중에 다시 시도하세요."},
    {"failed.manifest.heading", "업데이트 정보를 사용할 수 없습니다."},
    {"failed.manifest.advice",
     "나중에 다시 시도하세요. 문제가 계속되면 앱 게시자에게 알려 주세요."},
    {"failed.download.heading", "업데이트를 다운로드할 수 없습니다."},
    {"failed.download.advice", "인터넷 연결과 디스크 여유 공간을 확인한 후 다시 시도하세요."},
    {"failed.install.heading", "업데이트를 설치할 수 없습니다."},
    {"failed.install.advice",
     "다른 설치를 닫고 다시 시도하세요. 문제가 계속되면 앱 게시자에게 알려 주세요."},
    {"failed.cancelled.heading", "업데이트가 중지되었습니다."},
    {"failed.cancelled.advice", "업데이트를 완료하려면 다시 실행하세요."},
    {"failed.refused.heading", "보안상의 이유로 업데이트가 거부되었습니다."},
    {"failed.refused.advice",
     "보안 검사를 통과하지 못해 아무것도 설치되지 않았습니다. 앱 게시자에게 알려 주세요."},
    {"failed.other.heading", "업데이트가 중단되었습니다."},
    {"failed.other.advice", "나중에 다시 시도하세요."},
    {"failed.details", "세부 정보: {1}"},
    {"failed.exit.code", "종료 코드 {1}"},

    {"consent.heading.named", "{1} 앱이 업데이트를 자동으로 확인하도록 할까요?"},
    {"consent.heading.plain", "이 앱이 업데이트를 자동으로 확인하도록 할까요?"},
    {"consent.text", "가끔 업데이트 서버에 확인하여 새 버전이 나올 때마다 알려 드립니다. "
                     "설치 여부는 사용자가 결정합니다."},

    {"button.install.now", "지금 설치(&I)"},
    {"button.skip.version", "이 버전 건너뛰기(&S)"},
    {"button.remind.later", "나중에 알림(&R)"},
    {"button.restart.now", "지금 다시 시작(&R)"},
    {"button.later", "나중에(&L)"},
    {"button.check.automatically", "자동으로 확인(&C)"},
    {"button.dont.check", "확인 안 함(&D)"},
    {"button.ask.later", "나중에 묻기(&A)"},
    {"button.cancel", "취소"},
    {"button.close", "닫기(&C)"},

    {"warning.not.authenticated", "인증되지 않음: 앱에서 공개 키를 제공하지 않아 업데이트 "
                                  "정보의 출처를 확인하지 않습니다."},
    {"warning.allow.unsigned",
     "업데이트 정보가 인증되지 않았습니다(--allow-unsigned). 이 정보를 변경할 수 있는 사람이면 "
     "누구나 설치될 항목을 정할 수 있습니다."},
    {"warning.no.size", "업데이트 정보에 크기가 없습니다. 게시자가 크기를 추가할 때까지 "
                        "아무것도 다운로드할 수 없습니다."},
    {"warning.no.expiry",
     "서명된 업데이트 정보에 만료 날짜가 없어 오래된 사본이 다시 전달될 수 있습니다. "
     "게시자에게 만료 날짜를 설정해 달라고 요청하세요."},
    {"warning.product",
     "업데이트 정보는 \"{1}\" 제품용이지만 앱이 어떤 제품인지 알리지 않았습니다. 앱은 "
     "--product {1} 옵션을 전달해야 합니다."},
    {"warning.retry", "네트워크 오류입니다. {3}초 후에 다시 시도합니다({1}/{2})."},
    {"warning.skip.not.saved",
     "이 버전을 건너뛰는 선택을 저장할 수 없어 이 버전이 다시 제공됩니다."},
    {"warning.state.not.saved",
     "업데이트 설정을 저장할 수 없습니다. 설정을 저장하지 않고 업데이트를 계속합니다."},
    {"warning.relaunch.failed", "앱을 다시 시작할 수 없습니다. 직접 시작하세요."},
    {"text.not.utf8", "(이 텍스트는 유효한 UTF-8 형식이 아닙니다.)"},
};

} // namespace

extern const Table kTextsKo = {"ko", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
