#include "params/ParamTable.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "params/FourCC.h"

namespace stellane {

namespace {

constexpr double kNoDefault = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

#define FIELD(f) offsetof(RenderParams, f)
#define CHANNEL(c, ch) (offsetof(RenderParams, c) + offsetof(Color16, ch))
#define COMPONENT(v, xyz) (offsetof(RenderParams, v) + offsetof(Vector3f, xyz))

// A parameter's default as the defaults set it: 8-bit chip colours are held
// as v x 257.
constexpr double Chip(int v) { return v * 257.0; }

// The default vector1 z is computed from the two floats; LoadDefaults is the
// authority, this copy only feeds range checks and documentation.
const double kVector1Z = std::sqrt(1.0f - (-0.68f) * (-0.68f) - (-0.68f) * (-0.68f));

using K = ParamKind;

// clang-format off
const ParamInfo kRows[] = {
  // name                kind        field                          key             #   item ctrl  min      max      default
  {"colorA1.red",        K::Channel, CHANNEL(colorA1, red),         FourCC("0001"),  1,  2,   7,  0,      65535,   Chip(227)},
  {"colorA1.green",      K::Channel, CHANNEL(colorA1, green),       FourCC("0002"),  2,  3,   7,  0,      65535,   Chip(220)},
  {"colorA1.blue",       K::Channel, CHANNEL(colorA1, blue),        FourCC("0003"),  3,  4,   7,  0,      65535,   Chip(27)},
  {"colorA2.red",        K::Channel, CHANNEL(colorA2, red),         FourCC("0004"),  4,  5,   8,  0,      65535,   Chip(98)},
  {"colorA2.green",      K::Channel, CHANNEL(colorA2, green),       FourCC("0005"),  5,  6,   8,  0,      65535,   Chip(213)},
  {"colorA2.blue",       K::Channel, CHANNEL(colorA2, blue),        FourCC("0006"),  6,  7,   8,  0,      65535,   Chip(143)},
  {"spareColor1.red",    K::Channel, CHANNEL(spareColor1, red),     0,               0,  8,  -1,  0,      65535,   3289},
  {"spareColor1.green",  K::Channel, CHANNEL(spareColor1, green),   0,               0,  9,  -1,  0,      65535,   5921},
  {"spareColor1.blue",   K::Channel, CHANNEL(spareColor1, blue),    0,               0,  10, -1,  0,      65535,   18421},
  {"spareInt1",          K::Int32,   FIELD(spareInt1),              0,               0,  11, -1,  0,      100,     32},
  {"spareInt2",          K::Int32,   FIELD(spareInt2),              0,               0,  12, -1,  0,      100,     50},
  {"spareInt3",          K::Int32,   FIELD(spareInt3),              0,               0,  13, -1,  0,      100,     80},
  {"spareInt4",          K::Int32,   FIELD(spareInt4),              0,               0,  14, -1,  0,      100,     80},
  {"paramA",             K::Int32,   FIELD(paramA),                 FourCC("0007"),  7,  15,  37, 0,      100,     43},
  {"density",            K::Int32,   FIELD(density),                FourCC("0008"),  8,  16,  39, 0,      100,     29},
  {"spareInt5",          K::Int32,   FIELD(spareInt5),              0,               0,  17, -1,  0,      100,     0},
  {"spareInt6",          K::Int32,   FIELD(spareInt6),              0,               0,  18, -1,  0,      100,     30},
  {"spareInt7",          K::Int32,   FIELD(spareInt7),              0,               0,  19, -1,  0,      100,     4},
  {"spareInt8",          K::Int32,   FIELD(spareInt8),              0,               0,  20, -1,  0,      100,     50},
  {"brightness",         K::Int32,   FIELD(brightness),             FourCC("0009"),  9,  21,  51, 0,      100,     62},
  {"spareInt9",          K::Int32,   FIELD(spareInt9),              0,               0,  22, -1,  0,      100,     0},
  {"spareInt10",         K::Int32,   FIELD(spareInt10),             0,               0,  23, -1,  0,      100,     0},
  {"nebulaScale",        K::Int32,   FIELD(nebulaScale),            FourCC("0010"), 10,  24,  55, 0,      100,     16},
  {"texture",            K::Int32,   FIELD(texture),                FourCC("0011"), 11,  25,  57, 0,      100,     57},
  {"contrast",           K::Int32,   FIELD(contrast),               FourCC("0012"), 12,  26,  59, 0,      100,     48},
  {"starScale",          K::Int32,   FIELD(starScale),              FourCC("0013"), 13,  27,  61, 0,      100,     62},
  {"fibrousness",        K::Int32,   FIELD(fibrousness),            FourCC("0014"), 14,  28,  63, 0,      100,     60},
  {"spareInt13",         K::Int32,   FIELD(spareInt13),             0,               0,  29, -1,  0,      100,     55},
  {"spareInt14",         K::Int32,   FIELD(spareInt14),             0,               0,  30, -1,  0,      100,     4},
  {"spareColor2.red",    K::Channel, CHANNEL(spareColor2, red),     0,               0,  31, -1,  0,      65535,   65535},
  {"spareColor2.green",  K::Channel, CHANNEL(spareColor2, green),   0,               0,  32, -1,  0,      65535,   65535},
  {"spareColor2.blue",   K::Channel, CHANNEL(spareColor2, blue),    0,               0,  33, -1,  0,      65535,   65535},
  // Items 34-36 repeat spareColor2.
  {"spareColor4.red",    K::Channel, CHANNEL(spareColor4, red),     0,               0,  37, -1,  0,      65535,   kNoDefault},
  {"spareColor4.green",  K::Channel, CHANNEL(spareColor4, green),   0,               0,  38, -1,  0,      65535,   kNoDefault},
  {"spareColor4.blue",   K::Channel, CHANNEL(spareColor4, blue),    0,               0,  39, -1,  0,      65535,   kNoDefault},
  {"spareInt12",         K::Int32,   FIELD(spareInt12),             0,               0,  40, -1,  0,      100,     59},
  {"depth",              K::Int32,   FIELD(depth),                  FourCC("0015"), 15,  41,  98, 0,      100,     12},
  {"spareInt11",         K::Int32,   FIELD(spareInt11),             0,               0,  42, -1,  0,      100,     0},
  {"glue",               K::Int32,   FIELD(glue),                   FourCC("GLUE"), 16,  43,  73, 1,      62,      1},
  // Item 44 is a marker.
  {"spareInt15",         K::Int32,   FIELD(spareInt15),             0,               0,  45, -1,  0,      100,     0},
  {"opacity",            K::Int32,   FIELD(opacity),                FourCC("0017"), 17,  46, 110, 0,      100,     26},
  {"spareInt16",         K::Int32,   FIELD(spareInt16),             0,               0,  47, -1,  0,      100,     0},
  {"color",              K::Int32,   FIELD(color),                  FourCC("0018"), 18,  48,  65, 0,      100,     67},
  {"spareInt17",         K::Int32,   FIELD(spareInt17),             0,               0,  49, -1,  0,      100,     kNoDefault},
  {"vector1.x",          K::Float,   COMPONENT(vector1, x),         0,               0,  50, -1, -1,      1,       -0.68f},
  {"vector1.y",          K::Float,   COMPONENT(vector1, y),         0,               0,  51, -1, -1,      1,       -0.68f},
  {"vector1.z",          K::Float,   COMPONENT(vector1, z),         0,               0,  52, -1, -1,      1,       kVector1Z},
  {"vector2.x",          K::Float,   COMPONENT(vector2, x),         0,               0,  53, -1, -1,      1,       0},
  {"vector2.y",          K::Float,   COMPONENT(vector2, y),         0,               0,  54, -1, -1,      1,       -1},
  {"vector2.z",          K::Float,   COMPONENT(vector2, z),         0,               0,  55, -1, -1,      1,       0},
  {"randomSeed",         K::Int32,   FIELD(randomSeed),             FourCC("0019"), 19,  56, -1,  kIntMin, kIntMax, 67676767},
  {"paramB",             K::Int32,   FIELD(paramB),                 FourCC("0020"), 20,  57, 114, 0,      100,     59},
  // Item 58 is a marker.
  {"spareInt18",         K::Int32,   FIELD(spareInt18),             0,               0,  59, -1,  0,      100,     0},
  {"colorB2.red",        K::Channel, CHANNEL(colorB2, red),         FourCC("0021"), 21,  60,  19, 0,      65535,   Chip(125)},
  {"colorB2.green",      K::Channel, CHANNEL(colorB2, green),       FourCC("0022"), 22,  61,  19, 0,      65535,   Chip(126)},
  {"colorB2.blue",       K::Channel, CHANNEL(colorB2, blue),        FourCC("0023"), 23,  62,  19, 0,      65535,   Chip(106)},
  {"colorB1.red",        K::Channel, CHANNEL(colorB1, red),         FourCC("0024"), 24,  63,  20, 0,      65535,   Chip(101)},
  {"colorB1.green",      K::Channel, CHANNEL(colorB1, green),       FourCC("0025"), 25,  64,  20, 0,      65535,   Chip(137)},
  {"colorB1.blue",       K::Channel, CHANNEL(colorB1, blue),        FourCC("0026"), 26,  65,  20, 0,      65535,   Chip(153)},
  // Item 66 is the old-style thumbnail flag.
  {"spareColor3.red",    K::Channel, CHANNEL(spareColor3, red),     0,               0,  67, -1,  0,      65535,   28835},
  {"spareColor3.green",  K::Channel, CHANNEL(spareColor3, green),   0,               0,  68, -1,  0,      65535,   24903},
  {"spareColor3.blue",   K::Channel, CHANNEL(spareColor3, blue),    0,               0,  69, -1,  0,      65535,   13107},
};
// clang-format on

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

std::span<const ParamInfo> ParamTable() { return kRows; }

const ParamInfo* ScriptedParam(int scriptIndex) {
  for (const ParamInfo& row : kRows)
    if (row.scriptIndex == scriptIndex && scriptIndex != 0) return &row;
  return nullptr;
}

std::int32_t GetIntParam(const RenderParams& p, const ParamInfo& info) {
  switch (info.kind) {
    case ParamKind::Channel:
      return Load<std::uint16_t>(p, info.offset);
    case ParamKind::Int32:
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

}  // namespace stellane
