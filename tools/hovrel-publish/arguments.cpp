#include "arguments.h"

#include "option_parser.h"

namespace hovrel::publish {

namespace {

using common::Status;
using Row = common::OptionRow<char, Arguments>;

constexpr unsigned Bit(Command command) {
    return 1u << static_cast<unsigned>(command);
}

constexpr unsigned kKeygen = Bit(Command::Keygen);
constexpr unsigned kManifest = Bit(Command::Manifest);
constexpr unsigned kSign = Bit(Command::Sign);
constexpr unsigned kVerify = Bit(Command::Verify);
constexpr unsigned kPolicyTemplate = Bit(Command::PolicyTemplate);

Status TakeFile(const std::string& word, Arguments& arguments) {
    arguments.files.push_back(word);
    return Status::Ok();
}

// Values are checked by the commands, after the whole line was read, so a
// value's refusal never comes before a refusal of the line itself.
const common::OptionTable<char, Arguments>& Table() {
    static const common::OptionTable<char, Arguments> table{
        {
            {"out", Row::TextMayBeEmpty(&Arguments::out), kKeygen | kManifest | kPolicyTemplate},
            {"version", Row::TextMayBeEmpty(&Arguments::version), kManifest},
            {"url", Row::TextMayBeEmpty(&Arguments::url), kManifest},
            {"rollout", Row::TextMayBeEmpty(&Arguments::rollout), kManifest},
            {"expires", Row::TextMayBeEmpty(&Arguments::expires), kManifest},
            {"expires-in", Row::TextMayBeEmpty(&Arguments::expiresIn), kManifest},
            // The earlier name of --expires-in, kept for scripts that use it.
            {"valid-for", Row::TextMayBeEmpty(&Arguments::expiresIn), kManifest},
            {"no-expiry", Row::Flag(&Arguments::noExpiry), kManifest},
            {"min-windows", Row::TextMayBeEmpty(&Arguments::minWindows), kManifest},
            {"product", Row::TextMayBeEmpty(&Arguments::product), kManifest | kPolicyTemplate},
            {"name", Row::TextMayBeEmpty(&Arguments::name), kPolicyTemplate},
            {"notes", Row::TextMayBeEmpty(&Arguments::notes), kManifest},
            {"notes-for", Row::RepeatablePair(&Arguments::notesFor, "a language tag and a file"),
             kManifest},
            {"mandatory", Row::Flag(&Arguments::mandatory), kManifest},
            {"key", Row::TextMayBeEmpty(&Arguments::key), kSign},
            {"public-key", Row::TextMayBeEmpty(&Arguments::publicKey), kVerify},
        },
        TakeFile,
        {},
    };
    return table;
}

} // namespace

Arguments ParseArguments(Command command, int argc, char** argv) {
    const std::vector<std::string> words(argv + 2, argv + argc);
    auto parsed =
        common::ParseOptions(Table(), Bit(command), {"", std::string(" for ") + argv[1]}, words);
    if (!parsed) {
        Fail(parsed.reason());
    }
    return std::move(parsed).value().options;
}

const std::string& Required(const std::optional<std::string>& value, const char* name) {
    if (!value) {
        Fail(std::string("missing --") + name + "; see hovrel-publish --help");
    }
    return *value;
}

const std::string& ProductId(const std::string& product) {
    if (product.empty() || product.size() > 64 ||
        product.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                  "0123456789.-_") != std::string::npos) {
        Fail("--product must be 1 to 64 letters, digits, dots, dashes or underscores");
    }
    return product;
}

const std::string& OnePositional(const Arguments& arguments, const char* what) {
    if (arguments.files.size() != 1) {
        Fail(std::string("give exactly one ") + what + "; see hovrel-publish --help");
    }
    return arguments.files[0];
}

} // namespace hovrel::publish
