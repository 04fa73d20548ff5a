#include "glue/GlueNames.h"

namespace stellane {

const char* const kGlueModeNames[kGlueModeCount] = {
    "normal",     "procedural +", "procedural -", "difference", "lighten",      "darken",
    "add",        "subtract",     "multiply",     "screen",     "hard light",   "overlay",
    "superlay",   "exclusion",    "color",        "luminance",  "linear light", "pin light",
    "spin light", "vivid a",      "vivid b",      "saturation", "hue",          "similarity",
    "cross",      "harsh diff",   "soft light",   "bright",     "dim",          "dodge",
    "burn",       "ace",          "king",         "queen",      "jack",         "and",
    "or",         "xor",          "multibright",  "hot",        "cold",         "wet",
    "dry",        "up",           "down",         "wax",        "wane",         "north",
    "south",      "east",         "west",         "hard mix",   "frontal",      "parietal",
    "temporal",   "occipital",    "limbic",       "dextrous",   "sinister",     "anterior",
    "posterior",  "screendim"};

}  // namespace stellane
