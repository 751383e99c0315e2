#pragma once

// The install road's steps between the verified download and the end of the
// installer. Each reports its outcome to the observer and returns an exit
// code.

#include "cancel_flag.h"
#include "hovrel.h"
#include "options.h"
#include "package_folder.h"
#include "package_name.h"
#include "road.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace hovrel::windows {

// --out made absolute, or a new private folder named after the URL's last
// segment.
int ChoosePackagePath(const road::Options& options, road::RoadObserver& observer,
                      const HV_Manifest& manifest, PackageFolder& folder, std::wstring& path);

// --publisher / --publisher-thumbprint against the held package.
int CheckPackagePublisher(const road::Options& options, road::RoadObserver& observer, HANDLE held,
                          const std::wstring& path);

// --wait-pid: until the app has quit, --timeout passes or cancel is set.
int WaitForApp(const road::Options& options, road::RoadObserver& observer,
               const common::CancelFlag& cancel);

// Moves a verified download from `partial` over `destination` (named after
// the package's kind when `nameByKind`), or deletes it; `placed` is where it
// went.
int PlaceDownload(road::RoadObserver& observer, const std::wstring& partial,
                  const std::wstring& destination, bool nameByKind, std::wstring& placed);

// The held package's kind; anything but a program or an MSI is refused.
int CheckPackageKind(road::RoadObserver& observer, HANDLE held, road::PackageKind& kind);

// Starts the held, verified package and reads its outcome; `keptLog` names
// msiexec's log when a failed MSI install leaves one worth reading. An
// elevated host runs it from a protected copy, verified again against
// `sha256`.
int RunInstaller(const road::Options& options, road::RoadObserver& observer,
                 const std::wstring& path, HANDLE held, road::PackageKind kind, const char* sha256,
                 std::wstring& keptLog);

// True while RunInstaller waits for an installer, which cannot be stopped.
bool InstallerIsRunning();

} // namespace hovrel::windows
