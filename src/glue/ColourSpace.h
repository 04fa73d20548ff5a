// Colour conversions shared by the colour-space glue modes: HSL with a
// perceptual lightness, the ratio blend, and polar coordinates of the
// hue-saturation plane. All in single precision except `RatioBlend`.
#pragma once

namespace stellane {

struct Hsl {
  float hue;  // one turn 0..1: red 0 or 1, green 1/3, blue 2/3
  float saturation;
  float lightness;
};

struct Rgbf {
  float red;
  float green;
  float blue;
};

struct Polar {
  float angle;  // radians, [0, 2 pi)
  float radius;
};

struct Xy {
  float x;
  float y;
};

// Pure red gets hue 1.0 (not 0); greys get hue and saturation 0.
Hsl RgbToHsl(float red, float green, float blue);
// Black when the top value v is not positive; a hue of 1.0 falls into the red
// sector.
Rgbf HslToRgb(float hue, float saturation, float lightness);
// Brightness of the fully lit colour of this hue: 0.28 R + 0.52 G + 0.2 B of
// HslToRgb(hue, saturation, 0.5). Greys give 0.5.
float HueLuma(float hue, float saturation);
// HSL whose lightness is bent piecewise linearly so that 0.5 lands on the
// hue's `HueLuma`: equal perceptual lightness looks equally bright across hues.
Hsl ToPerceptualHsl(float red, float green, float blue);
// Inverse of ToPerceptualHsl; lightness outside 0..1 is clamped.
Rgbf FromPerceptualHsl(float hue, float saturation, float perceptualLightness);
// 0..1: 0.5 for equal values, toward 1 as a outgrows b, toward 0 as b
// outgrows a; 1 when both are 0. Double precision.
double RatioBlend(double a, double b);
Xy PolarToXY(float angle, float radius);
// Angle in [0, 2 pi) from the positive x axis toward positive y.
Polar XYToPolar(float x, float y);

}  // namespace stellane
