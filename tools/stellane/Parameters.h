// The parameters a command line can set, as the items of a scripting
// descriptor the plug-in plays back, and as the values the plug-in stores for
// them.
//
// The plug-in is handed only what the user gave (a descriptor file, each
// --set and --glue), so every other value is the plug-in's own default; a
// settings file goes to it whole (see RenderCommand.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "params/RenderParams.h"
#include "testhost/Descriptor.h"

namespace cli {

// A parameter --set accepts, by the name of its row in the parameter table
// (a colour by the name its three channel rows share), with what it does for
// the user; in the order help lists them.
struct SettableParam {
  const char* name;
  const char* meaning;
};
extern const SettableParam kSettableParams[17];

// The --set parameters for help: each with its meaning and the dialog's
// range, one a line.
std::string SettableParamsHelp();

// The descriptor items of "NAME=VALUE": one, or three for a colour (its
// 8-bit channels, which the plug-in keeps as v << 8, as its colour chooser
// does); throws a usage CliError listing what is accepted.
testhost::Descriptor SettingItems(const std::string& assignment);
// The item of a glue name or number 1..62; throws a usage CliError listing
// the names.
testhost::DescriptorItem GlueItem(const std::string& glue);
// Puts `items` into `descriptor`, each replacing an item of the same key.
void PutItems(const testhost::Descriptor& items, testhost::Descriptor& descriptor);

// A warning for a whole number outside the dialog's range of its slider
// (scripts may hold any value, so it is used as given), or "".
std::string OutOfRangeWarning(const std::string& assignment);

// The same stored into `params`, as the plug-in stores them.
void ApplySetting(const std::string& assignment, stellane::RenderParams& params);
void ApplyGlue(const std::string& glue, stellane::RenderParams& params);
// Stores the items of `descriptor` as the plug-in does when it plays one
// back (colours shifted into the high byte, unknown glue codes as 0);
// unknown keys are passed over.
void ApplyDescriptor(const testhost::Descriptor& descriptor, stellane::RenderParams& params);

}  // namespace cli
