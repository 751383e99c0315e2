#include "elevated_install.h"

namespace hovrel::road {

std::wstring QuotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: doubled there, and one more
        // escapes the quote itself.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

std::wstring ElevatedInstallArguments(const Options& options, const std::wstring& packagePath) {
    // apply's elevated run verifies the same stage again; it names no package.
    const bool applying = options.command == Command::Apply;
    std::wstring line = applying ? L"apply" : L"install";
    const auto add = [&line](const wchar_t* name, const std::wstring& value) {
        line += L" " + QuotedArgument(std::wstring(L"--") + name + L"=" + value);
    };
    if (!applying) {
        add(L"manifest", options.manifestUrl);
        add(L"out", packagePath);
    }
    line += L" --yes";
    add(L"fetch-timeout", std::to_wstring(options.fetchTimeoutSeconds));
    add(L"retries", std::to_wstring(options.retries));
    add(L"min-rate", std::to_wstring(options.minRate));
    add(L"min-rate-window", std::to_wstring(options.minRateWindowSeconds));
    for (const std::wstring& key : options.publicKeys) {
        add(L"public-key", key);
    }
    if (options.allowUnsigned) {
        line += L" --allow-unsigned";
    }
    if (options.requireExpiry) {
        line += L" --require-expiry";
    }
    const struct {
        const wchar_t* name;
        const std::wstring& value;
    } texts[] = {{L"installed", options.installedVersion},
                 {L"signature-url", options.signatureUrl},
                 {L"product", options.product},
                 {L"installer-args", options.installerArgs},
                 {L"name", options.displayName}};
    for (const auto& text : texts) {
        if (!text.value.empty()) {
            add(text.name, text.value);
        }
    }
    // The elevated window speaks the language the user's window spoke.
    if (!options.language.empty()) {
        add(L"language", std::wstring(options.language.begin(), options.language.end()));
    }
    for (const std::wstring& publisher : options.publishers) {
        add(L"publisher", publisher);
    }
    if (!options.publisherThumbprint.empty()) {
        add(L"publisher-thumbprint",
            std::wstring(options.publisherThumbprint.begin(), options.publisherThumbprint.end()));
    }
    return line;
}

} // namespace hovrel::road
