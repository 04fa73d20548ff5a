#include "render/Noise.h"

namespace stellane {

namespace {

// At most this many whole octaves; callers use seven.
constexpr int kMaxOctaves = 32;

float Fade(float t) { return ((6.0f * t - 15.0f) * t + 10.0f) * (t * t * t); }
float Lerp(float t, float a, float b) { return a + t * (b - a); }

// Gradient of hash h (low four bits) dotted with (dx, dy).
float Grad(std::int32_t h, float dx, float dy) {
  h &= 15;
  const float u = (h < 8 || h == 12 || h == 13) ? dx : dy;
  const float v = (h < 4 || h == 12 || h == 13) ? dy : 0.0f;
  return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

// One octave: rotate the point, sample, then scale and shift it for the next.
float OctaveStep(const RenderContext& c, float& x, float& y) {
  const float u = static_cast<float>(x * kOctaveCos - y * kOctaveSin);
  const float v = static_cast<float>(x * kOctaveSin + y * kOctaveCos);
  const float n = ValueNoise(c, u, v);
  x = static_cast<float>(static_cast<float>(u + kOctaveShift.x) * kLacunarity);
  y = static_cast<float>(static_cast<float>(v + kOctaveShift.y) * kLacunarity);
  return n;
}

// t * (sum + 1) + sum, in double.
float Cascade(float sum, float t) {
  return static_cast<float>(static_cast<double>(t) * (static_cast<double>(sum) + 1.0) + sum);
}

}  // namespace

float GradientNoise(const RenderContext& c, float x, float y) {
  const float x0 = std::floor(x);
  const float y0 = std::floor(y);
  const std::int32_t X = LatticeLow8(x0);
  const std::int32_t Y = LatticeLow8(y0);
  const float fx = x - x0;
  const float fy = y - y0;
  const std::int32_t* p = c.gradientPerm;
  const std::int32_t A = p[X] + Y;
  const std::int32_t B = p[X + 1] + Y;
  const float g00 = Grad(p[p[A]], fx, fy);
  const float g10 = Grad(p[p[B]], fx - 1.0f, fy);
  const float g01 = Grad(p[p[A + 1]], fx, fy - 1.0f);
  const float g11 = Grad(p[p[B + 1]], fx - 1.0f, fy - 1.0f);
  const float u = Fade(fx);
  const float v = Fade(fy);
  return Lerp(v, Lerp(u, g00, g10), Lerp(u, g01, g11));
}

float ValueNoise(const RenderContext& c, float x, float y) {
  // The offset keeps ordinary coordinates positive; cell and fraction come
  // from the same floor, so the noise stays continuous where it crosses 0.
  const float xs = x + kValueNoiseOrigin;
  const float ys = y + kValueNoiseOrigin;
  const float xf = std::floor(xs);
  const float yf = std::floor(ys);
  const std::int32_t X = LatticeLow8(xf);
  const std::int32_t Y = LatticeLow8(yf);
  const std::int32_t X1 = (X + 1) & 255;
  const std::int32_t Y1 = (Y + 1) & 255;
  const float fx = xs - xf;
  const float fy = ys - yf;
  const std::int32_t* p = c.valuePerm;
  const std::int32_t a = p[X];
  const std::int32_t b = p[X1];
  const float s00 = c.uniformTable[p[a + Y]];
  const float s10 = c.uniformTable[p[b + Y]];
  const float s01 = c.uniformTable[p[a + Y1]];
  const float s11 = c.uniformTable[p[b + Y1]];
  const float top = s00 + (s10 - s00) * fx;
  const float bottom = s01 + (s11 - s01) * fx;
  return top + (bottom - top) * fy;
}

float FibreNoise(const RenderContext& c, float x, float y, float octaves, float gain) {
  float sum = 0.0f;
  float amp = 1.0f;
  for (int i = 1; i <= kMaxOctaves && octaves >= static_cast<float>(i); ++i) {
    const float n = OctaveStep(c, x, y);
    sum += (n - 0.5f) * amp;
    amp *= gain;
  }
  const float frac = octaves - std::floor(octaves);
  if (frac != 0.0f && std::isfinite(frac)) sum += (ValueNoise(c, x, y) - 0.5f) * frac * amp;
  return sum;
}

float CloudNoise(const RenderContext& c, float x, float y, float octaves, bool centred,
                 float gain) {
  const float off = centred ? -0.5f : 0.0f;
  float sum = 0.0f;
  float amp = 1.0f;
  for (int i = 1; i <= kMaxOctaves && octaves >= static_cast<float>(i); ++i) {
    const float n = OctaveStep(c, x, y);
    const float t = (n + off) * amp;
    amp *= gain;
    sum = Cascade(sum, t);
  }
  const float frac = octaves - std::floor(octaves);
  if (frac != 0.0f && std::isfinite(frac))
    sum = Cascade(sum, (ValueNoise(c, x, y) + off) * frac * amp);
  return sum;
}

float TextureNoise(const RenderContext& c, float x, float y, float octaves, int passes,
                   float gain) {
  float ox = 0.0f;
  float oy = 0.0f;
  float s = 0.0f;
  for (int pass = 0; pass < passes; ++pass) {
    const float m = CloudNoise(c, x + ox, y + oy, octaves, true, gain);
    const float ax = static_cast<float>(ox + kTexturePassStep.x);
    const float ay = static_cast<float>(oy + kTexturePassStep.y);
    ox = static_cast<float>(ax * kOctaveCos - ay * kOctaveSin);
    oy = static_cast<float>(ax * kOctaveSin + ay * kOctaveCos);
    s = s - (m - kTextureFold) * kTextureWeight;
  }
  return 1.0f - 2.0f * ((s - 0.5f) * (s - 0.5f));
}

}  // namespace stellane
