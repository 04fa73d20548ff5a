// `stellane glues`: the 62 glue modes, each with its number and what it
// does with the rendered effect (the layer) and the picture below.
#include <cstdio>
#include <memory>

#include "glue/GlueNames.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"

namespace cli {

namespace {

// Entry k describes glue mode k + 1.
const char* const kGlueModeDescriptions[stellane::kGlueModeCount] = {
    "the effect replaces the picture",
    "the effect in the picture's mid-tones, the picture in its shadows and highlights",
    "brightens the effect by the picture (a soft add)",
    "a soft difference: effect and picture pull apart",
    "the lighter of effect and picture, channel by channel",
    "the darker of effect and picture, channel by channel",
    "effect plus picture",
    "effect minus picture",
    "effect times picture: darkens",
    "the inverse of multiplying the inverses: brightens",
    "the effect lights the picture harshly",
    "the picture lights the effect harshly (hard light reversed)",
    "a stronger overlay built of screen and multiply",
    "almost the same as difference: effect and picture pull apart",
    "the effect's hue and saturation with the picture's lightness",
    "the picture's hue and saturation with the effect's lightness",
    "the picture brightened or darkened by twice the effect",
    "replaces the picture's values where the effect is much darker or lighter",
    "pin light with effect and picture swapped",
    "a colour dodge or burn by the effect, whichever its value asks for",
    "twice the effect minus the picture",
    "the picture's hue and lightness with the effect's saturation",
    "the effect's hue with the picture's saturation and lightness",
    "bright where effect and picture are complementary (add up to white)",
    "bright where effect and picture lie equally far from mid-grey",
    "the absolute difference of effect and picture",
    "a gentle light of the effect on the picture",
    "whole pixels: the lighter of effect and picture by brightness",
    "whole pixels: the darker of effect and picture by brightness",
    "brightens the picture by the effect (colour dodge)",
    "darkens the picture by the effect (colour burn)",
    "the effect where it is bright, the picture where it is dark",
    "the effect where the picture is bright, the picture where it is dark",
    "the picture where the effect is bright, the effect where it is dark",
    "the picture where it is bright, the effect where the picture is dark",
    "bitwise AND of effect and picture",
    "bitwise OR of effect and picture",
    "bitwise XOR of effect and picture",
    "the product of effect and picture, then brightened",
    "pin lights of the picture by the effect and its inverse",
    "pin lights of the effect by the picture and its inverse",
    "pin light of two hard lights, the picture over the effect",
    "pin light of two hard lights over the effect's inverse",
    "pin light of the effect's and the picture's hard lights on each other",
    "pin light of the picture's and the effect's hard lights on each other",
    "keeps the effect where it is saturated near mid lightness",
    "keeps the effect where it is unsaturated near mid lightness",
    "each channel pulled towards the picture by the effect's next channel",
    "each channel pulled towards the picture by the effect's previous channel",
    "each channel pulled towards the picture by the picture's next channel",
    "each channel pulled towards the picture by the picture's previous channel",
    "each channel full or nothing: full where effect and picture add up past white",
    "hue and saturation of both mixed by mid lightness, the darker lightness",
    "Lab-like: lightness multiplied, colour by a hard light of the picture",
    "Lab-like: lightness screened, colour by a hard light of the picture",
    "Lab-like: pin light of the effect over the picture",
    "Lab-like: pin light of the picture over the effect",
    "each channel by the ratio of effect and picture",
    "the ratio blend on lightness, with the effect's hue and saturation",
    "a lightness curve of both, with the effect's hue and saturation",
    "a lightness curve of both, with the picture's hue and saturation",
    "screen, then squared: brighter than multiply, darker than screen",
};

}  // namespace

CommandRun AddGluesCommand(CLI::App& root) {
  auto quiet = std::make_shared<bool>(false);
  AddCommand(root, "glues",
             "Lists the 62 glue modes for --glue, one a line: number, name and what it does "
             "with the effect and the picture below.",
             *quiet);
  // CLI11 writes the flag after parsing, so it lives as long as the run.
  return [quiet] {
    for (int mode = 1; mode <= stellane::kGlueModeCount; ++mode)
      std::printf("%2d  %-13s %s\n", mode, stellane::GlueModeName(mode),
                  kGlueModeDescriptions[mode - 1]);
    return kExitOk;
  };
}

}  // namespace cli
