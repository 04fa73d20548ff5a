// The parameters a command line can set, and their trip to the plug-in as a
// played-back scripting descriptor.
//
// A run's values are built in layers on a RenderParams record: the defaults,
// then a settings file (--settings), a descriptor file (--play), then each
// --set and --glue in order. The record becomes a descriptor holding all 26
// scripted values, so the plug-in renders exactly these values whatever its
// cached settings hold.
#pragma once

#include <cstdint>
#include <string>

#include "params/RenderParams.h"
#include "testhost/Descriptor.h"

namespace cli {

// The 13 integer parameters --set accepts, by field name.
extern const char* const kIntegerParamNames[13];
// The four colours --set accepts as #rrggbb.
extern const char* const kColorParamNames[4];

// Applies "NAME=VALUE"; throws a usage CliError listing what is accepted.
void ApplySetting(const std::string& assignment, stellane::RenderParams& params);
// Applies a glue name or number 1..62; throws a usage CliError listing the names.
void ApplyGlue(const std::string& glue, stellane::RenderParams& params);

// The 26 scripted values of `params` as the plug-in itself records them.
testhost::Descriptor DescriptorFromParams(const stellane::RenderParams& params);
// Stores the items of `descriptor` as the plug-in does when it plays one
// back (colours shifted into the high byte, unknown glue codes as 0);
// unknown keys are passed over.
void ApplyDescriptor(const testhost::Descriptor& descriptor, stellane::RenderParams& params);

}  // namespace cli
