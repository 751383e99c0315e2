#pragma once

// The stage of one product on disk: %LOCALAPPDATA%\Hovrel\<product>\staged
// holds the package and the manifest and signature as fetched, in a folder
// only the user, SYSTEM and Administrators may open. The next stage is made
// beside it (staged.new) and takes its place only once complete.

#include "status.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hovrel::windows {

class StagedUpdate {
  public:
    // Folder() is empty when %LOCALAPPDATA% cannot be read.
    explicit StagedUpdate(const std::wstring& product);

    const std::wstring& Folder() const { return folder_; }
    bool Exists() const;

    // The manifest's and signature's bytes as staged; false when one cannot
    // be read (a missing signature reads as empty).
    bool Read(std::string& manifest, std::string& signature) const;
    // The staged package (named after its kind), empty when none.
    std::wstring PackagePath() const;
    // The staged manifest's version, empty when it cannot be read.
    std::string Version() const;

    // A fresh private folder for the next stage, and where its package goes.
    common::Status BeginNext(std::wstring& packagePath);
    // The bytes beside the next stage's package, then the next stage in place
    // of the current one.
    common::Status CommitNext(const std::string& manifest, const std::string& signature);

    // Both the stage and a next one left unfinished.
    void Remove();

  private:
    common::Status PlaceNext(const std::string& manifest, const std::string& signature);

    std::wstring product_; // %LOCALAPPDATA%\Hovrel\<product>
    std::wstring folder_;
    std::wstring next_;
};

} // namespace hovrel::windows
