#pragma once

namespace hovrel::publish {

// policy-template: the Group Policy template (ADMX and its en-US ADML) of
// one product's policy values, as the programs read them.
int PolicyTemplate(int argc, char** argv);

} // namespace hovrel::publish
