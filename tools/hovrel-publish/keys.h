#pragma once

namespace hovrel::publish {

// The commands that make, use and check a release key.
int Keygen(int argc, char** argv);
int Sign(int argc, char** argv);
int Verify(int argc, char** argv);

} // namespace hovrel::publish
