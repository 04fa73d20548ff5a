// The one table of the persistent rendering parameters: each stored value
// with its scripting key, its item in the settings file, the dialog control
// that edits it, its range and its default. The scripting descriptor, the
// settings file writer and the tests walk it, so a value is described once.
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
};

struct ParamInfo {
  const char* name;  // "colorA1.red", "density", ...
  ParamKind kind;
  std::size_t offset;       // into RenderParams
  std::uint32_t scriptKey;  // descriptor key, 0 when not scripted
  int scriptIndex;          // 1..26: position in the terminology and descriptor; 0 none
  int settingsItem;         // item number in a version-50 settings file (1 is the version)
  int dialogControl;        // slider track, colour chip or glue list; -1 none
  std::int32_t minimum;     // the dialog's range (channels: 0..65535)
  std::int32_t maximum;
  double defaultValue;  // what LoadDefaults sets; NaN when the defaults leave it alone
};

constexpr int kScriptedParamCount = 26;

// Rows in the order of the version-50 settings file.
std::span<const ParamInfo> ParamTable();

// The scripted row with this position (1..26), or null.
const ParamInfo* ScriptedParam(int scriptIndex);

// Field access by row. Channels read and write as their 16-bit value,
// floats as their value; Int32 rows as the whole number.
std::int32_t GetIntParam(const RenderParams& params, const ParamInfo& info);
void SetIntParam(RenderParams& params, const ParamInfo& info, std::int32_t value);
float GetFloatParam(const RenderParams& params, const ParamInfo& info);
void SetFloatParam(RenderParams& params, const ParamInfo& info, float value);

}  // namespace stellane
