#include "glue/ColourSpace.h"

#include <algorithm>
#include <cmath>

namespace stellane {

namespace {
constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831855f;
}  // namespace

Hsl RgbToHsl(float red, float green, float blue) {
  const float hi = std::max(red, std::max(green, blue));
  const float lo = std::min(red, std::min(green, blue));
  Hsl out{0.0f, 0.0f, (hi + lo) / 2.0f};
  if (out.lightness <= 0.0f) return out;
  const float d = hi - lo;
  if (d <= 0.0f) return out;
  out.saturation = out.lightness <= 0.5f ? d / (hi + lo) : d / (2.0f - hi - lo);

  // Hue in sixths from the distances of the two lesser channels to the top.
  const float r = (hi - red) / d;
  const float g = (hi - green) / d;
  const float b = (hi - blue) / d;
  float sixths;
  if (red == hi) {
    sixths = green != lo ? 1.0f - g : 5.0f + b;
  } else if (green == hi) {
    sixths = blue != lo ? 3.0f - b : 1.0f + r;
  } else {
    sixths = red == lo ? 3.0f + g : 5.0f - r;
  }
  out.hue = sixths * 0.16666667f;
  return out;
}

Rgbf HslToRgb(float hue, float saturation, float lightness) {
  const float v = lightness <= 0.5f ? lightness * (1.0f + saturation)
                                    : lightness + saturation - lightness * saturation;
  if (v <= 0.0f) return {0.0f, 0.0f, 0.0f};
  const float m = 2.0f * lightness - v;
  const float scaled = 6.0f * hue;
  const int n = static_cast<int>(scaled);
  const float f = scaled - static_cast<float>(n);
  const float t = v * ((v - m) / v) * f;
  const float rising = m + t;
  const float falling = v - t;
  switch (n > 5 || n < 0 ? 0 : n) {
    case 1:
      return {falling, v, m};
    case 2:
      return {m, v, rising};
    case 3:
      return {m, falling, v};
    case 4:
      return {rising, m, v};
    case 5:
      return {v, m, falling};
    default:
      return {v, rising, m};
  }
}

float HueLuma(float hue, float saturation) {
  const Rgbf c = HslToRgb(hue, saturation, 0.5f);
  return 0.28f * c.red + 0.52f * c.green + 0.2f * c.blue;
}

Hsl ToPerceptualHsl(float red, float green, float blue) {
  Hsl hsl = RgbToHsl(red, green, blue);
  const float y = HueLuma(hsl.hue, hsl.saturation);
  const float l = hsl.lightness;
  hsl.lightness = l <= 0.5f ? 2.0f * l * y : (l - 0.5f) * 2.0f * (1.0f - y) + y;
  return hsl;
}

Rgbf FromPerceptualHsl(float hue, float saturation, float perceptualLightness) {
  const float y = std::clamp(HueLuma(hue, saturation), 0.0f, 1.0f);
  const float p = perceptualLightness;
  float l;
  if (p >= 1.0f) {
    l = 1.0f;
  } else if (p <= 0.0f) {
    l = 0.0f;
  } else if (p > y) {
    l = (p - y) / (1.0f - y) * 0.5f + 0.5f;
  } else {
    l = (p / y) * 0.5f;
  }
  return HslToRgb(hue, saturation, l);
}

double RatioBlend(double a, double b) {
  if (b > a) return a * 0.5 / b;
  if (a > 0.0) return 1.0 - b * 0.5 / a;
  return 1.0;
}

Xy PolarToXY(float angle, float radius) {
  return {std::cos(angle) * radius, std::sin(angle) * radius};
}

Polar XYToPolar(float x, float y) {
  const float radius = std::sqrt(x * x + y * y);
  if (y == 0.0f) return {x > 0.0f ? 0.0f : kPi, radius};
  // atan(x / y) measures from the y axis; shift it per quadrant and turn it
  // into an angle from the x axis.
  const float t = std::atan(x / y);
  float u = t;
  if (y < 0.0f) u = x >= 0.0f ? t + kPi : t - kPi;
  float angle = -(u + kPi - 4.712389f);
  if (angle < 0.0f) angle += kTwoPi;
  return {angle, radius};
}

}  // namespace stellane
