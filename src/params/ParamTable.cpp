#include "params/ParamTable.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "glue/GlueNames.h"

namespace stellane {

namespace {

constexpr double kNoDefault = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// 8-bit chip colours are held as v x 257.
constexpr double Chip(int v) { return v * 257.0; }

// A scripting key from its four characters; "" is no key.
constexpr std::uint32_t ScriptKey(const char* c) {
  if (!c[0]) return 0;
  return (std::uint32_t(std::uint8_t(c[0])) << 24) | (std::uint32_t(std::uint8_t(c[1])) << 16) |
         (std::uint32_t(std::uint8_t(c[2])) << 8) | std::uint32_t(std::uint8_t(c[3]));
}

constexpr OldValue kKept{OldRule::Kept, 0, 0};
constexpr OldValue InvertedBefore(std::int32_t v) { return {OldRule::Inverted, v, 0}; }
constexpr OldValue IncrementedBefore(std::int32_t v) { return {OldRule::Incremented, v, 0}; }
constexpr OldValue RescaledBefore(std::int32_t v) { return {OldRule::Rescaled, v, 0}; }
constexpr OldValue ResetBefore(std::int32_t v, std::int32_t value) {
  return {OldRule::Reset, v, value};
}

std::span<const ParamInfo> Rows() {
  // The default of vector1.z makes it a unit vector with the two others; a
  // local static so that the rows are ready for other files' static tables.
  static const double kVector1Z = std::sqrt(1.0f - (-0.68f) * (-0.68f) - (-0.68f) * (-0.68f));
  static const ParamInfo kRows[] = {
#define PARAM(field, kind, index, key, termName, termDescription, control, minimum, maximum, \
              defaultValue, item, since, old)                                                \
  {#field,  ParamKind::kind, offsetof(RenderParams, field), ScriptKey(key), index, control,  \
   minimum, maximum,         double(defaultValue),          item,           since, old},
#include "params/ParamRows.def"
#undef PARAM
  };
  return kRows;
}

template <typename T>
T Load(const RenderParams& p, std::size_t offset) {
  T v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&p) + offset, sizeof v);
  return v;
}

template <typename T>
void Store(RenderParams& p, std::size_t offset, T v) {
  std::memcpy(reinterpret_cast<unsigned char*>(&p) + offset, &v, sizeof v);
}

}  // namespace

std::span<const ParamInfo> ParamTable() { return Rows(); }

const ParamInfo* ScriptedParam(int scriptIndex) {
  for (const ParamInfo& row : Rows())
    if (row.scriptIndex == scriptIndex && scriptIndex != 0) return &row;
  return nullptr;
}

const ParamInfo* ParamNamed(const char* name) {
  for (const ParamInfo& row : Rows())
    if (std::strcmp(row.name, name) == 0) return &row;
  return nullptr;
}

const ParamInfo* ParamForControl(int dialogControl) {
  for (const ParamInfo& row : Rows())
    if (row.dialogControl == dialogControl && dialogControl >= 0) return &row;
  return nullptr;
}

std::int32_t GetIntParam(const RenderParams& p, const ParamInfo& info) {
  switch (info.kind) {
    case ParamKind::Channel:
      return Load<std::uint16_t>(p, info.offset);
    case ParamKind::Int32:
    case ParamKind::Glue:
      return Load<std::int32_t>(p, info.offset);
    case ParamKind::Float:
      break;
  }
  return 0;
}

void SetIntParam(RenderParams& p, const ParamInfo& info, std::int32_t value) {
  switch (info.kind) {
    case ParamKind::Channel:
      Store(p, info.offset, std::uint16_t(std::uint32_t(value)));
      break;
    case ParamKind::Int32:
    case ParamKind::Glue:
      Store(p, info.offset, value);
      break;
    case ParamKind::Float:
      break;
  }
}

float GetFloatParam(const RenderParams& p, const ParamInfo& info) {
  return info.kind == ParamKind::Float ? Load<float>(p, info.offset) : 0.0f;
}

void SetFloatParam(RenderParams& p, const ParamInfo& info, float value) {
  if (info.kind == ParamKind::Float) Store(p, info.offset, value);
}

std::int32_t GetScriptedParam(const RenderParams& p, const ParamInfo& info) {
  const std::int32_t v = GetIntParam(p, info);
  return info.kind == ParamKind::Channel ? v >> 8 : v;
}

void SetScriptedParam(RenderParams& p, const ParamInfo& info, std::int32_t value) {
  if (info.kind == ParamKind::Channel) value = std::int32_t((std::uint32_t(value) << 8) & 0xFFFFu);
  SetIntParam(p, info, value);
}

}  // namespace stellane
