#include "stellane/RenderOptions.h"

#include <cerrno>
#include <cstdlib>

#include "stellane/CliError.h"

namespace cli {

namespace {

// "X,Y,W,H", all whole numbers, width and height at least 1.
testhost::Rect ParseRect(const std::string& text) {
  long v[4];
  const char* p = text.c_str();
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    errno = 0;
    v[i] = std::strtol(p, &end, 10);
    const char expected = i < 3 ? ',' : '\0';
    if (end == p || errno != 0 || *end != expected || v[i] < 0 || v[i] > 30000)
      UsageError("--rect expects X,Y,W,H (whole numbers from 0), got \"" + text + "\"");
    p = end + 1;
  }
  if (v[2] < 1 || v[3] < 1) UsageError("--rect: width and height must be at least 1");
  testhost::Rect rect;
  rect.left = int(v[0]);
  rect.top = int(v[1]);
  rect.right = int(v[0] + v[2]);
  rect.bottom = int(v[1] + v[3]);
  return rect;
}

}  // namespace

std::uint32_t ParseSeed(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  if (text.empty() || text[0] == '-' || end == text.c_str() || *end != '\0' || errno != 0 ||
      v > 0xFFFFFFFFull)
    UsageError("--seed expects a whole number from 0 to 4294967295, got \"" + text + "\"");
  return std::uint32_t(v);
}

RenderOptions ParseRenderOptions(const Arguments& args) {
  RenderOptions options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
      if (arg == "--") {
        positional.insert(positional.end(), args.begin() + long(i) + 1, args.end());
        break;
      }
      positional.push_back(arg);
      continue;
    }
    // --name=value or --name value.
    std::string value;
    bool hasValue = false;
    const std::size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      hasValue = true;
    }
    auto takeValue = [&]() -> std::string {
      if (hasValue) return value;
      if (i + 1 >= args.size()) UsageError(arg + " needs a value");
      return args[++i];
    };
    auto noValue = [&]() {
      if (hasValue) UsageError(arg + " takes no value");
    };
    if (arg == "--plugin") {
      options.plugin = takeValue();
    } else if (arg == "--set") {
      options.steps.push_back({false, takeValue()});
    } else if (arg == "--glue") {
      options.steps.push_back({true, takeValue()});
    } else if (arg == "--settings") {
      options.settings = takeValue();
    } else if (arg == "--save-settings") {
      options.saveSettings = takeValue();
    } else if (arg == "--record") {
      options.record = takeValue();
    } else if (arg == "--play") {
      options.play = takeValue();
    } else if (arg == "--mask") {
      options.mask = takeValue();
    } else if (arg == "--rect") {
      options.rect = ParseRect(takeValue());
    } else if (arg == "--seed") {
      options.seed = ParseSeed(takeValue());
    } else if (arg == "--demo") {
      noValue();
      options.demo = true;
    } else if (arg == "--keep-alpha") {
      noValue();
      options.keepAlpha = true;
    } else if (arg == "--dialog") {
      noValue();
      options.dialog = true;
    } else if (arg == "--smallest-png") {
      noValue();
      options.pngCompression = PngCompression::Smallest;
    } else if (arg == "--quiet" || arg == "-q") {
      noValue();
      options.quiet = true;
    } else {
      UsageError("render: unknown option " + arg + " (see stellane render --help)");
    }
  }
  if (positional.empty()) UsageError("render: missing OUTPUT (see stellane render --help)");
  if (positional.size() > 2) UsageError("render: too many file names: " + positional[2]);
  if (options.demo && positional.size() == 2)
    UsageError("render: --demo renders the built-in picture and takes no INPUT; got " +
               positional[0]);
  // One name alone is never taken as the output: it is most often the
  // picture the user meant to filter, which the demo render would replace.
  if (!options.demo && positional.size() == 1)
    UsageError("render: missing OUTPUT after " + positional[0] +
               " (stellane render INPUT OUTPUT; --demo OUTPUT renders the built-in demo picture)");
  options.output = positional.back();
  if (positional.size() == 2) options.input = positional[0];
  return options;
}

}  // namespace cli
