#pragma once

// The road's steps on Windows, through Hovrel.dll: what both programs run.

#include "interface/platform_handles.h"
#include "options.h"
#include "package_folder.h"
#include "road.h"

#include <cstdint>
#include <string>

namespace hovrel_update {

class WindowsRoadSteps : public RoadSteps {
  public:
    // `cancel` is read by the download between chunks and while waiting for
    // --wait-pid; the --timeout watchdog sets it too.
    WindowsRoadSteps(const Options& options, RoadObserver& observer, volatile std::int32_t* cancel)
        : options_(options), observer_(observer), cancel_(cancel) {}

    int FetchManifest(RoadManifest& manifest) override;
    int Evaluate(const RoadManifest& manifest, VerdictReport& report) override;
    int PreparePackagePath(const RoadManifest& manifest, std::wstring& path) override;
    int Download(const RoadManifest& manifest, const std::wstring& path) override;
    int VerifyPackage(const RoadManifest& manifest, const std::wstring& path) override;
    int WaitForApp() override;
    int RunInstaller(const std::wstring& path) override;
    void ReleasePackage() override;
    void KeepPackageFolder() override;
    void RemovePackageFolder() override;

  private:
    const Options& options_;
    RoadObserver& observer_;
    volatile std::int32_t* cancel_;
    PackageFolder folder_;
    hovrel::UniqueFile held_;
    std::wstring keptLog_;
};

} // namespace hovrel_update
