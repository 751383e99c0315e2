#pragma once

// The per-user state and the administrators' policy of one product, as the
// programs read them from the registry, and the settings in force with where
// each came from. The registry itself is host/windows' business: here a
// store hands over raw values, so the checks of type and range are tested
// natively.

#include "options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hovrel::road {

// One registry value as read.
struct RawValue {
    enum class Type { Absent, Dword, Qword, Text, Other, Unreadable };
    Type type = Type::Absent;
    std::uint64_t number = 0;
    std::string text; // UTF-8
};

// Where the state lives. Reads of a missing key give Absent, of a key that
// cannot be opened (no rights) Unreadable; writes and
// deletes report success, so a program can warn and carry on.
class StateStore {
  public:
    virtual ~StateStore() = default;
    virtual RawValue ReadUser(const char* name) = 0;
    virtual RawValue ReadPolicy(const char* name) = 0;
    virtual bool WriteNumber(const char* name, RawValue::Type type, std::uint64_t value) = 0;
    virtual bool WriteText(const char* name, const std::string& value) = 0;
    virtual bool DeleteUserValue(const char* name) = 0; // true when gone or never there
    virtual bool DeleteUserState() = 0;
    // Where the user's key and the policy are, for messages.
    virtual std::string UserPlace() const = 0;
    virtual std::string PolicyPlace() const = 0;
};

struct UserState {
    std::optional<std::int64_t> lastCheck; // Unix seconds UTC
    std::optional<bool> automaticChecks;
    std::optional<std::string> skippedVersion;
    std::optional<std::int64_t> remindAfter;
    std::optional<std::uint32_t> checkIntervalHours;
    std::optional<std::int64_t> firstAutomaticRun;
    std::optional<std::string> channel;
};

struct PolicyState {
    std::optional<bool> automaticChecks; // false: never, and never ask
    std::optional<std::uint32_t> checkIntervalHours;
    std::optional<std::string> channel;
};

// A value of the wrong type or out of range is left out, with one line in
// `warnings` naming it; a key that cannot be read, with one line for the key.
UserState ReadUserState(StateStore& store, std::vector<std::string>& warnings);
PolicyState ReadPolicy(StateStore& store, std::vector<std::string>& warnings);

enum class Source { Default, CommandLine, User, Policy };
const char* SourceName(Source source);

template <typename T> struct Sourced {
    T value{};
    Source source = Source::Default;
};

enum class Consent { Undecided, Yes, No };

// Policy wins over the user's values, which win over the command line.
struct Settings {
    Sourced<std::uint32_t> intervalHours;
    Sourced<std::string> channel;
    Sourced<Consent> automatic; // Default: nobody has decided
};

inline constexpr std::uint32_t kDefaultIntervalHours = 24;
inline constexpr std::uint32_t kMaxIntervalHours = 744;
inline constexpr char kDefaultChannel[] = "stable";

Settings Resolve(const Options& options, const UserState& user, const PolicyState& policy);

// Lower-case letters, digits and '-', 1 to 32 of them.
bool IsChannelName(const std::string& name);
bool IsChannelName(const std::wstring& name);

// The manifest address with every "{channel}" replaced.
std::wstring WithChannel(const std::wstring& manifestUrl, const std::string& channel);

} // namespace hovrel::road
