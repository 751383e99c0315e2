#pragma once

// The road's steps on Windows, through Hovrel.dll: what both programs run.

#include "cancel_flag.h"
#include "handles.h"
#include "network_run.h"
#include "options.h"
#include "package_folder.h"
#include "package_name.h"
#include "road.h"
#include "staged_update.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hovrel::windows {

class WindowsRoadSteps : public road::RoadSteps {
  public:
    // `cancel` is read while fetching, by the download between chunks and
    // while waiting for --wait-pid; the --timeout watchdog and the
    // --min-rate floor set it too.
    WindowsRoadSteps(const road::Options& options, road::RoadObserver& observer,
                     common::CancelFlag& cancel)
        : options_(options), observer_(observer), cancel_(cancel),
          network_(options, observer, cancel), stage_(options.product) {}

    int FetchManifest(road::RoadManifest& manifest) override;
    int Evaluate(const road::RoadManifest& manifest, road::VerdictReport& report) override;
    int PreparePackagePath(const road::RoadManifest& manifest, std::wstring& path) override;
    int Download(const road::RoadManifest& manifest, const std::wstring& path) override;
    int VerifyPackage(const road::RoadManifest& manifest, const std::wstring& path) override;
    int WaitForApp() override;
    int RunInstaller(const std::wstring& path) override;
    void ReleasePackage() override;
    void KeepPackageFolder() override;
    void RemovePackageFolder() override;
    bool FindStage(const std::string& version, std::optional<std::int32_t>& order) override;
    int StagePackage(const road::RoadManifest& manifest, std::string& folder) override;
    void RemoveStage() override;
    void Relaunch() override;

  private:
    int ReadStagedManifest(road::RoadManifest& manifest);
    int CheckSize(const HV_Manifest& manifest);

    // The package path as text for the road's reports, or a usage failure.
    int PathText(const std::wstring& path, std::string& text);

    const road::Options& options_;
    road::RoadObserver& observer_;
    common::CancelFlag& cancel_;
    NetworkRun network_;
    PackageFolder folder_;
    StagedUpdate stage_;
    hovrel::UniqueFile held_;
    std::wstring package_; // absolute, as placed by Download or given to install
    road::PackageKind kind_ = road::PackageKind::Unknown;
    std::string sha256_; // the manifest's, checked again on an elevated copy
    std::wstring keptLog_;
};

} // namespace hovrel::windows
