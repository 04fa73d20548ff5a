// `stellane`: the command-line host of the Stellane plug-in. It loads the
// same module an image editor loads and runs it over image files.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/NearestName.h"
#include "stellane/Platform.h"

namespace cli {

namespace {

Arguments commandLine;

const char* const kMainFooter =
    "stellane COMMAND --help tells more of one command.\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 bad command line, 130 cancelled\n"
    "(Ctrl-C), 143 stopped by SIGTERM. Outputs are complete or not written.\n";

// CLI11's messages, one line, with where to read more.
std::string UsageMessage(const CLI::App& root, const CLI::ParseError& error) {
  std::string message = error.what();
  message.resize(std::min(message.size(), message.find('\n')));
  const auto chosen = root.get_subcommands();
  if (chosen.empty()) return message + " (see stellane --help)";
  const std::string name = chosen.back()->get_name();
  return name + ": " + message + " (see stellane " + name + " --help)";
}

int Run(int argc, char** argv) {
  commandLine.assign(argv + 1, argv + argc);
  CLI::App root{"Makes stars and nebulae: runs the Stellane filter plug-in over images.",
                "stellane"};
  root.set_version_flag("-V,--version", std::string(), "Print the program's version and exit");
  root.require_subcommand(1);
  root.footer(kMainFooter);
  root.get_formatter()->label("SUBCOMMAND", "COMMAND");
  std::map<std::string, CommandRun> commands;
  std::vector<std::string> names;
  for (CommandRun (*add)(CLI::App&) :
       {AddRenderCommand, AddPsdCommand, AddInfoCommand, AddThumbnailCommand, AddHtmlCommand,
        AddPresetsCommand, AddGluesCommand}) {
    CommandRun run = add(root);
    names.push_back(root.get_subcommands(nullptr).back()->get_name());
    commands[names.back()] = std::move(run);
  }
  if (commandLine.empty()) UsageError("missing COMMAND (see stellane --help)");
  const std::string& first = commandLine[0];
  if (first[0] != '-' && !commands.count(first))
    UsageError("unknown command \"" + first + "\"" + DidYouMean(first, names) +
               " (see stellane --help)");
  try {
    root.parse(argc, argv);
  } catch (const CLI::CallForVersion&) {
    std::printf("stellane %s\n", STELLANE_VERSION);
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return root.exit(error);  // --help
    UsageError(UsageMessage(root, error));
  }
  return commands.at(root.get_subcommands().front()->get_name())();
}

}  // namespace

CLI::App* AddCommand(CLI::App& root, const std::string& name, const std::string& description,
                     bool& quiet) {
  CLI::App* command = root.add_subcommand(name, description);
  command->group("Commands");
  command->add_flag("-q,--quiet", quiet, "no progress display");
  return command;
}

const Arguments& CommandLine() { return commandLine; }

}  // namespace cli

int main(int argc, char** argv) {
  cli::InstallInterruptHandler();
  try {
    return cli::Run(argc, argv);
  } catch (const cli::CliError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "stellane: %s\n", error.message.c_str());
    return error.exitCode;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "stellane: %s\n", error.what());
    return cli::kExitFailure;
  }
}
