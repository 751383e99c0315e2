#include "user_state.h"

#include "registry_names.h"

namespace hovrel::road {

namespace {

using Type = RawValue::Type;

class ValueReader {
  public:
    ValueReader(StateStore& store, bool policy, std::vector<std::string>& warnings)
        : store_(store), policy_(policy), warnings_(warnings) {}

    RawValue Read(const char* name) {
        RawValue value = policy_ ? store_.ReadPolicy(name) : store_.ReadUser(name);
        if (value.type == Type::Unreadable) {
            if (!unreadable_) {
                warnings_.push_back("Warning: cannot read " + Place() +
                                    "; going on without what it holds.");
            }
            unreadable_ = true;
            value = RawValue{};
        }
        return value;
    }

    std::optional<std::uint64_t> Number(const char* name, Type type, std::uint64_t low,
                                        std::uint64_t high, const char* what) {
        const RawValue value = Read(name);
        if (value.type == Type::Absent) {
            return std::nullopt;
        }
        if (value.type != type || value.number < low || value.number > high) {
            Ignore(name, what);
            return std::nullopt;
        }
        return value.number;
    }

    std::optional<std::int64_t> Time(const char* name) {
        // Up to the year 9999, so a time always prints in four digits.
        const auto value =
            Number(name, Type::Qword, 0, 253402300799, "a REG_QWORD of Unix seconds");
        return value ? std::optional<std::int64_t>(static_cast<std::int64_t>(*value))
                     : std::nullopt;
    }

    std::optional<bool> Switch(const char* name) {
        const auto value = Number(name, Type::Dword, 0, 1, "a REG_DWORD of 0 or 1");
        return value ? std::optional<bool>(*value == 1) : std::nullopt;
    }

    std::optional<std::uint32_t> Interval(const char* name) {
        const auto value =
            Number(name, Type::Dword, 1, kMaxIntervalHours, "a REG_DWORD of hours from 1 to 744");
        return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value))
                     : std::nullopt;
    }

    std::optional<std::string> Text(const char* name, bool (*valid)(const std::string&),
                                    const char* what) {
        const RawValue value = Read(name);
        if (value.type == Type::Absent) {
            return std::nullopt;
        }
        if (value.type != Type::Text || !valid(value.text)) {
            Ignore(name, what);
            return std::nullopt;
        }
        return value.text;
    }

  private:
    void Ignore(const char* name, const char* what) {
        warnings_.push_back("Warning: ignoring " + Place() + "\\" + name + ": it is not " + what +
                            ".");
    }

    std::string Place() const { return policy_ ? store_.PolicyPlace() : store_.UserPlace(); }

    StateStore& store_;
    bool policy_;
    std::vector<std::string>& warnings_;
    bool unreadable_ = false;
};

bool IsVersionText(const std::string& text) {
    return !text.empty() && text.size() <= 64;
}

bool IsChannelText(const std::string& text) {
    return IsChannelName(text);
}

constexpr char kChannelWhat[] = "a REG_SZ channel name (a-z, 0-9, -, at most 32)";

} // namespace

UserState ReadUserState(StateStore& store, std::vector<std::string>& warnings) {
    ValueReader reader(store, false, warnings);
    UserState state;
    state.lastCheck = reader.Time(registry::kLastCheck);
    state.automaticChecks = reader.Switch(registry::kAutomaticChecks);
    state.skippedVersion =
        reader.Text(registry::kSkippedVersion, IsVersionText, "a REG_SZ version");
    state.remindAfter = reader.Time(registry::kRemindAfter);
    state.checkIntervalHours = reader.Interval(registry::kCheckIntervalHours);
    state.firstAutomaticRun = reader.Time(registry::kFirstAutomaticRun);
    state.channel = reader.Text(registry::kChannel, IsChannelText, kChannelWhat);
    return state;
}

PolicyState ReadPolicy(StateStore& store, std::vector<std::string>& warnings) {
    ValueReader reader(store, true, warnings);
    PolicyState policy;
    policy.automaticChecks = reader.Switch(registry::kAutomaticChecks);
    policy.checkIntervalHours = reader.Interval(registry::kCheckIntervalHours);
    policy.channel = reader.Text(registry::kChannel, IsChannelText, kChannelWhat);
    return policy;
}

const char* SourceName(Source source) {
    switch (source) {
    case Source::Policy:
        return "policy";
    case Source::User:
        return "user";
    case Source::CommandLine:
        return "command line";
    case Source::Default:
        break;
    }
    return "default";
}

namespace {

// The first of policy, user, command line that has a value, else the default.
template <typename T>
Sourced<T> Pick(const std::optional<T>& policy, const std::optional<T>& user,
                const std::optional<T>& commandLine, T fallback) {
    if (policy) {
        return {*policy, Source::Policy};
    }
    if (user) {
        return {*user, Source::User};
    }
    if (commandLine) {
        return {*commandLine, Source::CommandLine};
    }
    return {fallback, Source::Default};
}

std::optional<Consent> ConsentOf(const std::optional<bool>& answer) {
    if (!answer) {
        return std::nullopt;
    }
    return *answer ? Consent::Yes : Consent::No;
}

} // namespace

Settings Resolve(const Options& options, const UserState& user, const PolicyState& policy) {
    Settings settings;
    settings.intervalHours =
        Pick(policy.checkIntervalHours, user.checkIntervalHours,
             options.intervalHours == 0 ? std::nullopt
                                        : std::optional<std::uint32_t>(options.intervalHours),
             kDefaultIntervalHours);
    std::optional<std::string> commandLineChannel;
    if (!options.channel.empty()) {
        commandLineChannel = std::string(options.channel.begin(), options.channel.end());
    }
    settings.channel =
        Pick(policy.channel, user.channel, commandLineChannel, std::string(kDefaultChannel));
    settings.automatic = Pick(ConsentOf(policy.automaticChecks), ConsentOf(user.automaticChecks),
                              std::optional<Consent>(), Consent::Undecided);
    return settings;
}

bool IsChannelName(const std::string& name) {
    return IsChannelName(std::wstring(name.begin(), name.end()));
}

bool IsChannelName(const std::wstring& name) {
    if (name.empty() || name.size() > 32) {
        return false;
    }
    for (const wchar_t c : name) {
        if (!((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-')) {
            return false;
        }
    }
    return true;
}

std::wstring WithChannel(const std::wstring& manifestUrl, const std::string& channel) {
    static const std::wstring kPlaceholder = L"{channel}";
    const std::wstring wide(channel.begin(), channel.end());
    std::wstring url = manifestUrl;
    for (std::size_t at = url.find(kPlaceholder); at != std::wstring::npos;
         at = url.find(kPlaceholder, at + wide.size())) {
        url.replace(at, kPlaceholder.size(), wide);
    }
    return url;
}

} // namespace hovrel::road
