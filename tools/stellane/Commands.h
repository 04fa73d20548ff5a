// The commands of `stellane`, all parsed by one CLI11 parser. Each Add*
// function adds its subcommand to the root and returns what runs it once its
// command line has been parsed: the exit status, or a thrown CliError.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace cli {

using Arguments = std::vector<std::string>;
using CommandRun = std::function<int()>;

CommandRun AddRenderCommand(CLI::App& root);
CommandRun AddPsdCommand(CLI::App& root);
CommandRun AddInfoCommand(CLI::App& root);
CommandRun AddThumbnailCommand(CLI::App& root);
CommandRun AddHtmlCommand(CLI::App& root);
CommandRun AddPresetsCommand(CLI::App& root);
CommandRun AddGluesCommand(CLI::App& root);

// A subcommand with what every command has: -h/--help and -q/--quiet.
CLI::App* AddCommand(CLI::App& root, const std::string& name, const std::string& description,
                     bool& quiet);

// The whole command line as given (after the program name), for the
// worker processes of a batch.
const Arguments& CommandLine();

}  // namespace cli
