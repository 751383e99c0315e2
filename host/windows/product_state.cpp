#include "product_state.h"

#include "hovrel.h"
#include "registry_names.h"
#include "stage.h"
#include "staged_update.h"
#include "utf8.h"
#include "windows_road_steps.h"

#include <ctime>
#include <random>

namespace hovrel::windows {

using namespace hovrel::road;

namespace {

int CompareVersions(const std::string& a, const std::string& b, bool& ok) {
    std::int32_t order = 0;
    ok = HV_CompareVersion(a.c_str(), b.c_str(), &order) == HV_Ok;
    return order;
}

// Where in the interval's last tenth this check falls, drawn anew each run
// so that a product's users do not all check at the same moment.
double Draw() {
    std::random_device device;
    return std::uniform_real_distribution<double>(0.0, 1.0)(device);
}

} // namespace

ProductState LoadProductState(const Options& options, Program program) {
    ProductState state;
    state.options = options;
    state.now = static_cast<std::int64_t>(std::time(nullptr));
    PolicyState policy;
    if (!options.product.empty()) {
        state.store = std::make_unique<RegistryStore>(options.product);
        state.user = ReadUserState(*state.store, state.warnings);
        policy = ReadPolicy(*state.store, state.warnings);
    }
    state.settings = Resolve(options, state.user, policy);
    state.options.manifestUrl = WithChannel(options.manifestUrl, state.settings.channel.value);
    const bool gated = state.store != nullptr && options.command != Command::Status;
    if (gated) {
        state.decision =
            Decide(state.settings, state.user, options.automatic, program, state.now, Draw());
    }
    return state;
}

void RecordFirstAutomaticRun(ProductState& state, std::vector<std::string>& warnings) {
    if (!state.store->WriteNumber(registry::kFirstAutomaticRun, RawValue::Type::Qword,
                                  static_cast<std::uint64_t>(state.now))) {
        warnings.push_back("Warning: cannot write " + state.store->UserPlace() + "\\" +
                           registry::kFirstAutomaticRun + "; the next run counts as first again.");
    }
}

void RecordConsent(ProductState& state, bool yes, RoadObserver& observer) {
    WriteNumber(*state.store, observer, registry::kAutomaticChecks, RawValue::Type::Dword,
                yes ? 1 : 0);
}

int RunRoadWithState(ProductState& state, RoadObserver& observer, common::CancelFlag& cancel) {
    const bool applying = state.options.command == Command::Apply;
    StageRefusals reporter(observer, applying);
    WindowsRoadSteps platform(state.options, reporter, cancel);
    StatefulSteps steps(platform, state.store.get(), state.now, state.options.automatic,
                        state.user.skippedVersion.value_or(std::string()), CompareVersions,
                        reporter);
    if (applying) {
        steps.NotACheck();
    }
    return RunRoad(state.options, steps, reporter, cancel);
}

int RunStatus(ProductState& state, std::string& out, std::vector<std::string>& errors) {
    RegistryStore& store = *state.store;
    std::string product;
    if (!common::WideToUtf8(state.options.product, product)) {
        errors.push_back("hovrel-update: --product is not valid text");
        return ExitUsage;
    }
    StagedUpdate stage(state.options.product);
    if (state.options.reset) {
        stage.Remove();
        if (!store.DeleteUserState()) {
            errors.push_back("Cannot delete " + store.UserPlace() +
                             "; check that it is not open elsewhere and try again.");
            return ExitUsage;
        }
        state.user = UserState{};
        out += "Deleted " + store.UserPlace() + " and the staged update.\n";
    }
    if (!state.options.channel.empty()) {
        const std::string channel(state.options.channel.begin(), state.options.channel.end());
        if (!store.WriteText(registry::kChannel, channel)) {
            errors.push_back("Cannot write " + store.UserPlace() + "\\" + registry::kChannel +
                             "; check your rights on that key.");
            return ExitUsage;
        }
        state.user.channel = channel;
        out += "Channel " + channel + " stored for " + product + ".\n";
    }
    std::vector<std::string> ignored;
    const PolicyState policy = ReadPolicy(store, ignored);
    Options withoutCommandLine = state.options;
    withoutCommandLine.channel.clear();
    state.settings = Resolve(withoutCommandLine, state.user, policy);
    if (!state.options.channel.empty() && state.settings.channel.source == Source::Policy) {
        errors.push_back("Note: the policy's channel " + state.settings.channel.value +
                         " is in force over the one stored.");
    }
    out += "State: " + store.UserPlace() + "\nPolicy: " + store.PolicyPlace() + "\n";
    out += DescribeStatus(product, state.settings, state.user, policy, state.now);
    std::string folder;
    const std::string version = stage.Exists() ? stage.Version() : std::string();
    out += version.empty() || !common::WideToUtf8(stage.Folder(), folder)
               ? "Staged update: none\n"
               : "Staged update: " + version + " in " + folder + "\n";
    return ExitOk;
}

} // namespace hovrel::windows
