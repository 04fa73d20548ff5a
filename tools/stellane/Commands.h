// The commands of `stellane`. Each takes the arguments after its name,
// returns the exit status and throws CliError on failure.
#pragma once

#include <string>
#include <vector>

namespace cli {

using Arguments = std::vector<std::string>;

int RenderCommand(const Arguments& args);
int InfoCommand(const Arguments& args);
int ThumbnailCommand(const Arguments& args);
int PsdCommand(const Arguments& args);
int HtmlCommand(const Arguments& args);

extern const char* const kRenderHelp;
extern const char* const kInfoHelp;
extern const char* const kThumbnailHelp;
extern const char* const kPsdHelp;
extern const char* const kHtmlHelp;

// True when `args` asks for help (-h or --help anywhere).
bool WantsHelp(const Arguments& args);

}  // namespace cli
