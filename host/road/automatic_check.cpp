#include "automatic_check.h"

#include "registry_names.h"

#include <algorithm>
#include <cstdio>

namespace hovrel::road {

DueWindow DueTimes(const Settings& settings, const UserState& user) {
    DueWindow window;
    if (user.lastCheck) {
        const std::int64_t interval = std::int64_t{settings.intervalHours.value} * 3600;
        window.earliest = *user.lastCheck + interval * 9 / 10;
        window.latest = *user.lastCheck + interval;
    }
    if (user.remindAfter) {
        window.earliest = std::max(window.earliest, *user.remindAfter);
        window.latest = std::max(window.latest, *user.remindAfter);
    }
    return window;
}

std::int64_t DueAt(const DueWindow& window, double draw) {
    const double span = static_cast<double>(window.latest - window.earliest);
    const auto offset = static_cast<std::int64_t>(span * std::clamp(draw, 0.0, 1.0));
    return std::min(window.earliest + offset, window.latest);
}

std::int64_t RemindAfterTime(std::int64_t now, std::uint32_t intervalHours) {
    return now + std::int64_t{std::min<std::uint32_t>(intervalHours, 24)} * 3600;
}

GateDecision Decide(const Settings& settings, const UserState& user, bool automatic,
                    Program program, std::int64_t now, double draw) {
    const Consent consent = settings.automatic.value;
    if (consent == Consent::No && settings.automatic.source == Source::Policy) {
        return {Gate::TurnedOff};
    }
    if (!automatic) {
        return {Gate::Run};
    }
    if (consent == Consent::No) {
        return {Gate::ChecksOff};
    }
    if (consent == Consent::Undecided && program == Program::Window) {
        return {user.firstAutomaticRun ? Gate::AskConsent : Gate::RecordFirstRun};
    }
    const DueWindow window = DueTimes(settings, user);
    if (now < DueAt(window, draw)) {
        return {Gate::NotDue, window.latest};
    }
    return {Gate::Run};
}

std::string FormatUtcMinute(std::int64_t unixSeconds) {
    // Days to a civil date (proleptic Gregorian), counted from 0000-03-01.
    const std::int64_t days = (unixSeconds >= 0 ? unixSeconds : unixSeconds - 86399) / 86400;
    const std::int64_t secondOfDay = unixSeconds - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lldZ",
                  static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(secondOfDay / 3600),
                  static_cast<long long>(secondOfDay % 3600 / 60));
    return text;
}

std::string GateLine(const GateDecision& decision, const std::string& product) {
    switch (decision.gate) {
    case Gate::TurnedOff:
        return "Updates of " + product + " are turned off by your administrator.";
    case Gate::ChecksOff:
        return "Automatic checks are off for " + product + "; a check without --auto still runs.";
    case Gate::NotDue:
        return "No automatic check is due before " + FormatUtcMinute(decision.dueBy);
    case Gate::RecordFirstRun:
        return "First automatic run of " + product + " recorded; no check this time.";
    case Gate::Run:
    case Gate::AskConsent:
        break;
    }
    return std::string();
}

namespace {

std::string TimeOr(const std::optional<std::int64_t>& time, const char* otherwise) {
    return time ? FormatUtcMinute(*time) : otherwise;
}

std::string From(Source source) {
    return std::string(" (") + SourceName(source) + ")";
}

std::string NextCheck(const Settings& settings, const UserState& user, std::int64_t now) {
    if (settings.automatic.value == Consent::No) {
        return settings.automatic.source == Source::Policy
                   ? "never: updates are turned off by the administrator"
                   : "never: automatic checks are off";
    }
    const DueWindow window = DueTimes(settings, user);
    if (window.latest <= now) {
        return "due now";
    }
    return "between " + FormatUtcMinute(std::max(window.earliest, now)) + " and " +
           FormatUtcMinute(window.latest);
}

std::string PolicyInForce(const PolicyState& policy) {
    std::string text;
    const auto add = [&text](const char* name, const std::string& value) {
        text += (text.empty() ? "" : ", ") + std::string(name) + " " + value;
    };
    if (policy.automaticChecks) {
        add(registry::kAutomaticChecks, *policy.automaticChecks ? "1" : "0");
    }
    if (policy.checkIntervalHours) {
        add(registry::kCheckIntervalHours, std::to_string(*policy.checkIntervalHours));
    }
    if (policy.channel) {
        add(registry::kChannel, *policy.channel);
    }
    return text.empty() ? "none" : text;
}

} // namespace

std::string DescribeStatus(const std::string& product, const Settings& settings,
                           const UserState& user, const PolicyState& policy, std::int64_t now) {
    static const char* const kConsent[] = {"not decided (the console checks, the window asks)",
                                           "on", "off"};
    std::string text = "Product: " + product + "\n";
    text += "Policy in force: " + PolicyInForce(policy) + "\n";
    text +=
        "Automatic checks: " + std::string(kConsent[static_cast<int>(settings.automatic.value)]) +
        From(settings.automatic.source) + "\n";
    text += "Check interval: " + std::to_string(settings.intervalHours.value) + " hours" +
            From(settings.intervalHours.source) + "\n";
    text += "Channel: " + settings.channel.value + From(settings.channel.source) + "\n";
    text += "Last check: " + TimeOr(user.lastCheck, "never") + "\n";
    text += "Skipped version: " + user.skippedVersion.value_or("none") + "\n";
    text += "Remind after: " + TimeOr(user.remindAfter, "not set") + "\n";
    text += "First automatic run: " + TimeOr(user.firstAutomaticRun, "not yet") + "\n";
    text += "Next automatic check: " + NextCheck(settings, user, now) + "\n";
    return text;
}

void WriteNumber(StateStore& store, RoadObserver& observer, const char* name, RawValue::Type type,
                 std::uint64_t value) {
    if (!store.WriteNumber(name, type, value)) {
        observer.Warned({"Warning: cannot write " + store.UserPlace() + "\\" + name +
                             "; the run goes on without it.",
                         "warning.state.not.saved"});
    }
}

int StatefulSteps::FetchManifest(RoadManifest& manifest) {
    const int code = inner_.FetchManifest(manifest);
    // A manifest that came back, accepted or refused, is the server's answer.
    const bool answered = code == ExitOk || code == ExitManifest || code == ExitRefused;
    if (store_ != nullptr && answered && recordsChecks_) {
        WriteNumber(*store_, observer_, registry::kLastCheck, RawValue::Type::Qword,
                    static_cast<std::uint64_t>(now_));
    }
    return code;
}

int StatefulSteps::Evaluate(const RoadManifest& manifest, VerdictReport& report) {
    const int code = inner_.Evaluate(manifest, report);
    if (code != ExitOk || !automatic_ || skipped_.empty() || report.mandatory ||
        report.verdict != Verdict::Available) {
        return code;
    }
    bool comparable = false;
    const int order = compare_(report.version, skipped_, comparable);
    if (comparable && order <= 0) {
        report.verdict = Verdict::UpToDate;
        report.skipped = skipped_;
    }
    return code;
}

} // namespace hovrel::road

namespace hovrel::road {

int StatefulSteps::StagePackage(const RoadManifest& manifest, std::string& folder) {
    const int code = inner_.StagePackage(manifest, folder);
    if (code == ExitOk && store_ != nullptr &&
        !store_->WriteText(registry::kStagedVersion, manifest.fields.version)) {
        observer_.Warned({"Warning: cannot write " + store_->UserPlace() + "\\" +
                              registry::kStagedVersion + "; apply still finds the stage.",
                          "warning.state.not.saved"});
    }
    return code;
}

void StatefulSteps::RemoveStage() {
    inner_.RemoveStage();
    if (store_ != nullptr && !store_->DeleteUserValue(registry::kStagedVersion)) {
        observer_.Warned({"Warning: cannot delete " + store_->UserPlace() + "\\" +
                              registry::kStagedVersion + "; it names a stage that is gone.",
                          "warning.state.not.saved"});
    }
}

} // namespace hovrel::road
