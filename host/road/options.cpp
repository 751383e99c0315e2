#include "options.h"

#include "option_parser.h"
#include "stage.h"
#include "tags.h"
#include "utf8.h"
#include "user_state.h"

#include <cstdint>
#include <utility>

namespace hovrel::road {

namespace {

using common::Status;
using Row = common::OptionRow<wchar_t, Options>;

// The programs' bits in the rows' masks.
constexpr unsigned kConsole = 1;
constexpr unsigned kWindow = 2;
constexpr unsigned kBoth = kConsole | kWindow;

unsigned ProgramBit(Program program) {
    return program == Program::Window ? kWindow : kConsole;
}

const struct {
    const wchar_t* word;
    Command command;
} kCommands[] = {
    {L"check", Command::Check},   {L"download", Command::Download}, {L"install", Command::Install},
    {L"update", Command::Update}, {L"status", Command::Status},     {L"apply", Command::Apply},
};

// The first positional word is the command; there is no second.
Status TakeCommand(const std::wstring& word, Options& options) {
    if (options.command != Command::Help) {
        return Status::Failure("unexpected argument " + common::ShownInMessage(word));
    }
    for (const auto& entry : kCommands) {
        if (word == entry.word) {
            options.command = entry.command;
            return Status::Ok();
        }
    }
    return Status::Failure("unknown command " + common::ShownInMessage(word));
}

// 64 hex digits, optionally in pairs separated by colons or spaces.
bool TakeThumbprint(const std::wstring& text, Options& options) {
    std::string& hex = options.publisherThumbprint;
    hex.clear();
    for (wchar_t c : text) {
        if (c == L':' || c == L' ') {
            continue;
        }
        if (c >= L'A' && c <= L'F') {
            c = static_cast<wchar_t>(c + 32);
        }
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) {
            return false;
        }
        hex += static_cast<char>(c);
    }
    return hex.size() == 64;
}

bool TakeChannel(const std::wstring& text, Options& options) {
    options.channel = text;
    return IsChannelName(text);
}

// A whole number from 0 to `most`.
bool TakeCount(const std::wstring& text, std::uint32_t most, std::uint32_t& count) {
    if (text == L"0") {
        count = 0;
        return true;
    }
    return common::ParseWholeNumber(text, count) && count <= most;
}

bool TakeMinRate(const std::wstring& text, Options& options) {
    return TakeCount(text, UINT32_MAX, options.minRate);
}

// Up to an hour: a longer window would let a stalled download hang that long.
bool TakeMinRateWindow(const std::wstring& text, Options& options) {
    return common::ParseWholeNumber(text, options.minRateWindowSeconds) &&
           options.minRateWindowSeconds >= 1 && options.minRateWindowSeconds <= 3600;
}

// Ten doublings from 1 s already wait over half an hour.
bool TakeRetries(const std::wstring& text, Options& options) {
    return TakeCount(text, 10, options.retries);
}

// Well-formed, not known: an unknown language falls back as the user's would.
bool TakeLanguage(const std::wstring& text, Options& options) {
    std::string tag;
    if (!common::WideToUtf8(text, tag) || !language::IsWellFormedTag(tag)) {
        return false;
    }
    options.language = tag;
    return true;
}

const common::OptionTable<wchar_t, Options>& Table() {
    static const common::OptionTable<wchar_t, Options> table{
        {
            {L"manifest", Row::Text(&Options::manifestUrl), kBoth},
            {L"installed", Row::Text(&Options::installedVersion), kBoth},
            {L"out", Row::Text(&Options::outPath), kBoth},
            {L"installer-args", Row::TextMayBeEmpty(&Options::installerArgs), kBoth},
            {L"machine-id", Row::Text(&Options::machineId), kBoth},
            {L"timeout",
             Row::WholeNumber(&Options::timeoutSeconds,
                              "--timeout needs a whole number of seconds from 1 to 4294967295"),
             kBoth},
            {L"yes", Row::Flag(&Options::yes), kBoth},
            {L"public-key", Row::RepeatableText(&Options::publicKeys), kBoth},
            {L"product", Row::Text(&Options::product), kBoth},
            {L"allow-unsigned", Row::Flag(&Options::allowUnsigned), kBoth},
            {L"require-expiry", Row::Flag(&Options::requireExpiry), kBoth},
            {L"keep", Row::Flag(&Options::keep), kBoth},
            {L"elevate", Row::Flag(&Options::elevate), kBoth},
            {L"publisher", Row::RepeatableText(&Options::publishers), kBoth},
            {L"publisher-thumbprint",
             Row::Checked(TakeThumbprint,
                          "--publisher-thumbprint needs the 64 hex digits of a SHA-256"),
             kBoth},
            {L"wait-pid",
             Row::WholeNumber(&Options::waitPid,
                              "--wait-pid needs a process id from 1 to 4294967295"),
             kBoth},
            {L"fetch-timeout",
             Row::WholeNumber(&Options::fetchTimeoutSeconds,
                              "--fetch-timeout needs a whole number of seconds from 1 to "
                              "4294967295"),
             kBoth},
            {L"min-rate",
             Row::Checked(TakeMinRate,
                          "--min-rate needs a whole number of bytes a second from 0 to "
                          "4294967295"),
             kBoth},
            {L"min-rate-window",
             Row::Checked(TakeMinRateWindow,
                          "--min-rate-window needs a whole number of seconds from 1 to 3600"),
             kBoth},
            {L"retries", Row::Checked(TakeRetries, "--retries needs a whole number from 0 to 10"),
             kBoth},
            {L"signature-url", Row::Text(&Options::signatureUrl), kBoth},
            {L"auto", Row::Flag(&Options::automatic), kBoth},
            {L"interval",
             Row::WholeNumber(&Options::intervalHours, "--interval needs hours from 1 to 744"),
             kBoth},
            {L"channel",
             Row::Checked(TakeChannel, "--channel needs a name of lower-case letters, digits "
                                       "and -, at most 32"),
             kBoth},
            {L"reset", Row::Flag(&Options::reset), kConsole},
            {L"background", Row::Flag(&Options::background), kBoth},
            {L"relaunch", Row::Text(&Options::relaunchPath), kBoth},
            {L"relaunch-args", Row::TextMayBeEmpty(&Options::relaunchArgs), kBoth},
            {L"quiet-if-current", Row::Flag(&Options::quietIfCurrent), kWindow},
            {L"name", Row::Text(&Options::displayName), kWindow},
            {L"language",
             Row::Checked(TakeLanguage, "--language needs a language tag such as de or pt-BR"),
             kWindow},
        },
        TakeCommand,
        {L"--help", L"-h", L"/?"},
    };
    return table;
}

// What each command cannot do without, in the order a refusal names them.
const struct {
    Command command;
    std::wstring Options::*field;
    const char* what;
} kNeeds[] = {
    {Command::Check, &Options::manifestUrl, "--manifest"},
    {Command::Check, &Options::installedVersion, "--installed"},
    {Command::Update, &Options::manifestUrl, "--manifest"},
    {Command::Update, &Options::installedVersion, "--installed"},
    {Command::Download, &Options::manifestUrl, "--manifest"},
    {Command::Install, &Options::manifestUrl, "--manifest"},
    {Command::Install, &Options::outPath, "--out (the downloaded package)"},
    {Command::Apply, &Options::product, "--product"},
    {Command::Apply, &Options::installedVersion, "--installed"},
};

// A stage belongs to one product, and only an install starts the app again.
Status CheckStage(const Options& options) {
    if (options.background && options.command != Command::Update) {
        return Status::Failure("--background goes with update");
    }
    const bool stages = options.background || options.command == Command::Apply;
    if (options.background && options.product.empty()) {
        return Status::Failure("--background needs --product");
    }
    if (stages && !options.product.empty() && !IsStageFolderName(options.product)) {
        return Status::Failure("--product names the stage's folder: no \\ / : * ? \" < > |, "
                               "and no trailing dot or space");
    }
    if (stages && !options.outPath.empty()) {
        return Status::Failure("--out does not go with --background or apply: the stage holds "
                               "the package");
    }
    const bool installs = options.command == Command::Update ||
                          options.command == Command::Install || options.command == Command::Apply;
    if (!options.relaunchPath.empty() && (!installs || options.background)) {
        return Status::Failure("--relaunch goes with update, install or apply");
    }
    if (!options.relaunchArgs.empty() && options.relaunchPath.empty()) {
        return Status::Failure("--relaunch-args needs --relaunch");
    }
    if (options.command == Command::Apply && options.automatic) {
        return Status::Failure("apply does not take --auto");
    }
    return Status::Ok();
}

// The state of a product: --auto and status need --product to name it.
Status CheckState(const Options& options, Program program) {
    if (options.intervalHours > kMaxIntervalHours) {
        return Status::Failure("--interval needs hours from 1 to 744");
    }
    if (options.command == Command::Status && program == Program::Window) {
        return Status::Failure("unknown command \"status\"; it is hovrel-update's");
    }
    if ((options.automatic || options.command == Command::Status) && options.product.empty()) {
        return Status::Failure(std::string(options.automatic ? "--auto" : "status") +
                               " needs --product");
    }
    if (options.automatic && options.command == Command::Install) {
        return Status::Failure("install does not take --auto");
    }
    if (options.reset && options.command != Command::Status) {
        return Status::Failure("--reset goes with status");
    }
    return CheckStage(options);
}

Status CheckRequired(const Options& options) {
    for (const auto& entry : kCommands) {
        if (entry.command != options.command) {
            continue;
        }
        for (const auto& need : kNeeds) {
            if (need.command == entry.command && (options.*need.field).empty()) {
                return Status::Failure(common::ShownInMessage(entry.word) + " needs " + need.what);
            }
        }
        return Status::Ok();
    }
    return Status::Failure("no command given (check, download, install, update, apply or status)");
}

} // namespace

common::Result<Options> ParseCommandLine(const std::vector<std::wstring>& arguments,
                                         Program program) {
    auto parsed = common::ParseOptions(Table(), ProgramBit(program), {"option ", ""}, arguments);
    if (!parsed) {
        return Status::Failure(parsed.reason());
    }
    if (parsed.value().helpAsked) {
        return Options{};
    }
    Status required = CheckRequired(parsed.value().options);
    if (required) {
        required = CheckState(parsed.value().options, program);
    }
    if (!required) {
        return required;
    }
    return std::move(parsed).value().options;
}

} // namespace hovrel::road
