// `stellane`: the command-line host of the Stellane plug-in. It loads the
// same module an image editor loads and runs it over image files.
#include <cstdio>
#include <exception>
#include <string>

#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/Platform.h"

namespace {

const char* const kMainHelp =
    "Usage: stellane COMMAND [arguments]\n"
    "\n"
    "Makes stars and nebulae: runs the Stellane filter plug-in over images.\n"
    "\n"
    "Commands:\n"
    "  render INPUT OUTPUT [options]     filter an image\n"
    "  render --demo OUTPUT [options]    filter the built-in demo picture\n"
    "  info FILE.q9r                     print the values of a settings file\n"
    "  thumbnail FILE.q9r OUT.jpg        extract a settings file's thumbnail\n"
    "  psd OUT.psd [INPUT] [options]     render the effect as a layered PSD file\n"
    "  html presets FOLDER OUT.html      a web page of a folder's settings files\n"
    "\n"
    "  stellane COMMAND --help           help on one command\n"
    "  stellane --version                the program's version\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 bad command line, 130 cancelled\n"
    "(Ctrl-C), 143 stopped by SIGTERM. Outputs are complete or not written.\n";

int Dispatch(const cli::Arguments& all) {
  if (all.empty()) cli::UsageError("missing COMMAND (see stellane --help)");
  const std::string& command = all[0];
  const cli::Arguments args(all.begin() + 1, all.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kMainHelp, stdout);
    return cli::kExitOk;
  }
  if (command == "--version" || command == "-V") {
    std::printf("stellane %s\n", STELLANE_VERSION);
    return cli::kExitOk;
  }
  struct Entry {
    const char* name;
    int (*run)(const cli::Arguments&);
    const char* help;
  };
  static const Entry kCommands[] = {{"render", cli::RenderCommand, cli::kRenderHelp},
                                    {"info", cli::InfoCommand, cli::kInfoHelp},
                                    {"thumbnail", cli::ThumbnailCommand, cli::kThumbnailHelp},
                                    {"psd", cli::PsdCommand, cli::kPsdHelp},
                                    {"html", cli::HtmlCommand, cli::kHtmlHelp}};
  for (const Entry& entry : kCommands) {
    if (command != entry.name) continue;
    if (cli::WantsHelp(args)) {
      std::fputs(entry.help, stdout);
      return cli::kExitOk;
    }
    return entry.run(args);
  }
  cli::UsageError("unknown command \"" + command +
                  "\" (render, info, thumbnail, psd, html; see --help)");
}

}  // namespace

int main(int argc, char** argv) {
  cli::InstallInterruptHandler();
  try {
    return Dispatch(cli::Arguments(argv + 1, argv + argc));
  } catch (const cli::CliError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "stellane: %s\n", error.message.c_str());
    return error.exitCode;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "stellane: %s\n", error.what());
    return cli::kExitFailure;
  }
}
