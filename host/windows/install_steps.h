#pragma once

// The install road's steps between the verified download and the end of the
// installer. Each reports its outcome to the observer and returns an exit
// code.

#include "cancel_flag.h"
#include "hovrel.h"
#include "options.h"
#include "package_folder.h"
#include "road.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace hovrel::windows {

// --out as given, or a new private folder named after the URL's last segment.
int ChoosePackagePath(const road::Options& options, road::RoadObserver& observer,
                      const HV_Manifest& manifest, PackageFolder& folder, std::wstring& path);

// --publisher / --publisher-thumbprint against the held package.
int CheckPackagePublisher(const road::Options& options, road::RoadObserver& observer, HANDLE held,
                          const std::wstring& path);

// --wait-pid: until the app has quit, --timeout passes or cancel is set.
int WaitForApp(const road::Options& options, road::RoadObserver& observer,
               const common::CancelFlag& cancel);

// Starts the package and reads its outcome; `keptLog` names msiexec's log
// when a failed MSI install leaves one worth reading.
int RunInstaller(const road::Options& options, road::RoadObserver& observer,
                 const std::wstring& path, std::wstring& keptLog);

// True while RunInstaller waits for an installer, which cannot be stopped.
bool InstallerIsRunning();

} // namespace hovrel::windows
