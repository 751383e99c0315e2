#pragma once

// The registry names the programs read and write, and that administrators,
// support staff and the policy template use. They are a contract: a name,
// once shipped, keeps its meaning and its type.

namespace hovrel::road::registry {

// Under HKEY_CURRENT_USER, followed by the product: the user's own state.
inline constexpr char kUserKeyPrefix[] = "Software\\Hovrel\\";
// Under HKEY_LOCAL_MACHINE, followed by the product: administrators' policy.
inline constexpr char kPolicyKeyPrefix[] = "Software\\Policies\\Hovrel\\";

// The user's state (HKCU).
inline constexpr char kLastCheck[] = "LastCheck";                   // REG_QWORD, Unix seconds UTC
inline constexpr char kAutomaticChecks[] = "AutomaticChecks";       // REG_DWORD 1 or 0
inline constexpr char kSkippedVersion[] = "SkippedVersion";         // REG_SZ
inline constexpr char kRemindAfter[] = "RemindAfter";               // REG_QWORD, Unix seconds UTC
inline constexpr char kCheckIntervalHours[] = "CheckIntervalHours"; // REG_DWORD, 1 to 744
inline constexpr char kFirstAutomaticRun[] = "FirstAutomaticRun";   // REG_QWORD, Unix seconds UTC
inline constexpr char kChannel[] = "Channel";                       // REG_SZ
// The version update --background staged for apply; gone with the stage.
inline constexpr char kStagedVersion[] = "StagedVersion"; // REG_SZ

// Policy (HKLM) uses kAutomaticChecks (0: never, and never ask; 1: always,
// never ask), kCheckIntervalHours and kChannel, with the same types.

} // namespace hovrel::road::registry
