#include "options.h"

#include <limits>

namespace hovrel::road {

namespace {

struct Failure {
    std::string message;
};

bool ParseCommand(const std::wstring& word, Command& command) {
    static const struct {
        const wchar_t* name;
        Command command;
    } commands[] = {
        {L"check", Command::Check},
        {L"download", Command::Download},
        {L"install", Command::Install},
        {L"update", Command::Update},
    };
    for (const auto& entry : commands) {
        if (word == entry.name) {
            command = entry.command;
            return true;
        }
    }
    return false;
}

// Options are ASCII, so a narrowed copy is enough for messages.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out;
}

bool ParseWhole(const std::wstring& text, std::uint32_t& number) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (value == 0 || value > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    number = static_cast<std::uint32_t>(value);
    return true;
}

// 64 hex digits, optionally in pairs separated by colons or spaces.
bool ParseThumbprint(const std::wstring& text, std::string& hex) {
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

// The option's value: after '=' in the same word, or the next word.
std::wstring TakeValue(const std::vector<std::wstring>& arguments, std::size_t& index,
                       const std::wstring& name, bool hasInline, const std::wstring& inlineValue) {
    if (hasInline) {
        return inlineValue;
    }
    if (index + 1 >= arguments.size()) {
        throw Failure{"option " + Narrow(name) + " needs a value"};
    }
    return arguments[++index];
}

void Require(bool present, const char* what, const char* command) {
    if (!present) {
        throw Failure{std::string(command) + " needs " + what};
    }
}

void CheckRequired(const Options& options) {
    switch (options.command) {
    case Command::Check:
        Require(!options.manifestUrl.empty(), "--manifest", "check");
        Require(!options.installedVersion.empty(), "--installed", "check");
        break;
    case Command::Update:
        Require(!options.manifestUrl.empty(), "--manifest", "update");
        Require(!options.installedVersion.empty(), "--installed", "update");
        break;
    case Command::Download:
        Require(!options.manifestUrl.empty(), "--manifest", "download");
        break;
    case Command::Install:
        Require(!options.manifestUrl.empty(), "--manifest", "install");
        Require(!options.outPath.empty(), "--out (the downloaded package)", "install");
        break;
    case Command::Help:
        throw Failure{"no command given (check, download, install or update)"};
    }
}

void SetText(std::wstring& field, bool& seen, const std::wstring& name, const std::wstring& value,
             bool allowEmpty) {
    if (seen) {
        throw Failure{"option " + Narrow(name) + " given twice"};
    }
    if (value.empty() && !allowEmpty) {
        throw Failure{"option " + Narrow(name) + " needs a non-empty value"};
    }
    seen = true;
    field = value;
}

void SetWhole(std::uint32_t& field, bool& seen, const std::wstring& name, const std::wstring& value,
              const char* refusal) {
    std::wstring text;
    SetText(text, seen, name, value, false);
    if (!ParseWhole(text, field)) {
        throw Failure{refusal};
    }
}

Options Parse(const std::vector<std::wstring>& arguments, Program program) {
    const bool window = program == Program::Window;
    Options options;
    bool haveCommand = false;
    bool seenManifest = false, seenInstalled = false, seenOut = false, seenArgs = false,
         seenMachine = false, seenTimeout = false, seenProduct = false, seenThumbprint = false,
         seenWaitPid = false, seenName = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& word = arguments[i];
        if (word == L"--help" || word == L"-h" || word == L"/?") {
            return Options{};
        }
        if (word.rfind(L"--", 0) != 0) {
            if (haveCommand) {
                throw Failure{"unexpected argument " + Narrow(word)};
            }
            if (!ParseCommand(word, options.command)) {
                throw Failure{"unknown command " + Narrow(word)};
            }
            haveCommand = true;
            continue;
        }
        const std::size_t equals = word.find(L'=');
        const bool hasInline = equals != std::wstring::npos;
        const std::wstring name = word.substr(0, equals);
        const std::wstring inlineValue = hasInline ? word.substr(equals + 1) : std::wstring();
        bool* flag = name == L"--yes"                          ? &options.yes
                     : name == L"--keep"                       ? &options.keep
                     : name == L"--elevate"                    ? &options.elevate
                     : name == L"--allow-unsigned"             ? &options.allowUnsigned
                     : name == L"--quiet-if-current" && window ? &options.quietIfCurrent
                                                               : nullptr;
        if (flag != nullptr) {
            if (hasInline) {
                throw Failure{"option " + Narrow(name) + " takes no value"};
            }
            *flag = true;
        } else if (name == L"--public-key" || name == L"--publisher") {
            std::wstring value;
            bool fresh = false;
            SetText(value, fresh, name, TakeValue(arguments, i, name, hasInline, inlineValue),
                    false);
            (name == L"--public-key" ? options.publicKeys : options.publishers).push_back(value);
        } else if (name == L"--product") {
            SetText(options.product, seenProduct, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--publisher-thumbprint") {
            std::wstring text;
            SetText(text, seenThumbprint, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
            if (!ParseThumbprint(text, options.publisherThumbprint)) {
                throw Failure{"--publisher-thumbprint needs the 64 hex digits of a SHA-256"};
            }
        } else if (name == L"--wait-pid") {
            SetWhole(options.waitPid, seenWaitPid, name,
                     TakeValue(arguments, i, name, hasInline, inlineValue),
                     "--wait-pid needs a process id from 1 to 4294967295");
        } else if (name == L"--manifest") {
            SetText(options.manifestUrl, seenManifest, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--installed") {
            SetText(options.installedVersion, seenInstalled, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--out") {
            SetText(options.outPath, seenOut, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--installer-args") {
            SetText(options.installerArgs, seenArgs, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), true);
        } else if (name == L"--machine-id") {
            SetText(options.machineId, seenMachine, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--name" && window) {
            SetText(options.displayName, seenName, name,
                    TakeValue(arguments, i, name, hasInline, inlineValue), false);
        } else if (name == L"--timeout") {
            SetWhole(options.timeoutSeconds, seenTimeout, name,
                     TakeValue(arguments, i, name, hasInline, inlineValue),
                     "--timeout needs a whole number of seconds from 1 to 4294967295");
        } else {
            throw Failure{"unknown option " + Narrow(name)};
        }
    }
    CheckRequired(options);
    return options;
}

} // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments, Program program) {
    ParsedCommandLine result;
    try {
        result.options = Parse(arguments, program);
        result.ok = true;
    } catch (const Failure& failure) {
        result.error = failure.message;
    }
    return result;
}

} // namespace hovrel::road
