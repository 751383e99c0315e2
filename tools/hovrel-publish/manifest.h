#pragma once

namespace hovrel::publish {

// The manifest command: the release's terms and the installer's size and
// SHA-256 as the manifest hovrel-update reads.
int Manifest(int argc, char** argv);

} // namespace hovrel::publish
