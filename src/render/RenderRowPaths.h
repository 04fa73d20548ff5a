// The band renderer's two paths. The fast path (vectorised nebula, row-wise
// star field) is what RenderRow runs; the reference path evaluates the
// nebula one pixel at a time and walks the whole star list at every pixel.
// Both give bit-identical rows; tests and benchmarks compare them.
#pragma once

#include <cstdint>

#include "render/RenderJob.h"

namespace stellane {

enum class RenderPath { Reference, Fast };

RenderStatus RenderRowWith(RenderJob& job, std::int32_t row, RenderPath path);

}  // namespace stellane
