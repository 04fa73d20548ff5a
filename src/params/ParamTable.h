// The one table of the persistent rendering parameters: each stored value
// with its scripting key, its item in the settings file and how older files
// held it, the dialog control that edits it, its range and its default. The
// rows are written once, in ParamRows.def; the defaults, the scripting
// descriptor, the settings file, the dialog, the command line and the
// terminology resource all follow from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "params/RenderParams.h"

namespace stellane {

enum class ParamKind : std::uint8_t {
  Int32,    // a signed 32-bit field
  Channel,  // one 16-bit colour channel
  Float,    // one vector component, stored in files as value x 100
  Glue,     // a glue mode number, scripted as a `GLty` enumeration
};

// How a value read from a file older than `OldValue::before` is taken.
enum class OldRule : std::uint8_t {
  Kept,         // as stored
  Inverted,     // stored as 100 - v
  Incremented,  // stored as v - 1
  Rescaled,     // stored on a scale 0.3 as large
  Reset,        // meant something else: replaced by `value`
};

struct OldValue {
  OldRule rule;
  std::int32_t before;  // the first version that stores the value as it is now
  std::int32_t value;   // Reset's value
};

struct ParamInfo {
  const char* name;  // "colorA1.red", "density", ...
  ParamKind kind;
  std::size_t offset;       // into RenderParams
  std::uint32_t scriptKey;  // descriptor key, 0 when not scripted
  int scriptIndex;          // 1..26: position in the terminology and descriptor; 0 none
  int dialogControl;        // slider track, colour chip or glue list; -1 none
  std::int32_t minimum;     // the dialog's range (channels: 0..65535)
  std::int32_t maximum;
  double defaultValue;  // what LoadDefaults sets; NaN when the defaults leave it alone
  int settingsItem;     // item number in a version-50 settings file (1 is the version)
  std::int32_t since;   // the first settings file version that holds the item
  OldValue old;
};

constexpr int kScriptedParamCount = 26;

// Rows in the order of the version-50 settings file.
std::span<const ParamInfo> ParamTable();

// The scripted row with this position (1..26), or null.
const ParamInfo* ScriptedParam(int scriptIndex);
// The row of this name ("density", "colorB1.red"), or null.
const ParamInfo* ParamNamed(const char* name);

// The first row the dialog control edits (a chip's red channel), or null.
const ParamInfo* ParamForControl(int dialogControl);

// Field access by row. Channels read and write as their 16-bit value,
// floats as their value; Int32 and Glue rows as the whole number.
std::int32_t GetIntParam(const RenderParams& params, const ParamInfo& info);
void SetIntParam(RenderParams& params, const ParamInfo& info, std::int32_t value);
float GetFloatParam(const RenderParams& params, const ParamInfo& info);
void SetFloatParam(RenderParams& params, const ParamInfo& info, float value);

// The value as a script holds it: colour channels as 8-bit values in the
// channel's high byte. Storing keeps the low 8 bits (256 becomes 0).
std::int32_t GetScriptedParam(const RenderParams& params, const ParamInfo& info);
void SetScriptedParam(RenderParams& params, const ParamInfo& info, std::int32_t value);

}  // namespace stellane
