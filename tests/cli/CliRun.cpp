#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "params/FilePaths.h"

namespace clitest {

std::string ProgramPath() { return std::string("./") + STELLANE_CLI_NAME; }

CliResult RunStellane(const std::vector<std::string>& args, Limits limits) {
  // One pair of capture files per test: ctest runs tests side by side.
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
  std::replace(name.begin(), name.end(), '/', '-');
  const std::string folder = "cli-tmp/";
  std::filesystem::create_directories(folder);
  const std::string outFile = folder + name + ".stdout", errFile = folder + name + ".stderr";
  CliResult result;
  result.exitCode = RunProgram(args, outFile, errFile, limits);
  // Windows writes text with CR LF line ends.
  result.out = ReadText(outFile);
  result.err = ReadText(errFile);
  for (std::string* text : {&result.out, &result.err})
    text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  return result;
}

::testing::AssertionResult Succeeds(const std::vector<std::string>& args, CliResult* result) {
  const CliResult run = RunStellane(args);
  if (result) *result = run;
  if (run.exitCode == 0 && run.err.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << args[0] << " exited with " << run.exitCode << ": " << run.err;
}

::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

std::string ScratchFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string folder =
      std::string("cli-tmp/") + info->test_suite_name() + "." + info->name() + "/";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(stellane::PathFromUtf8(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(stellane::PathFromUtf8(path), std::ios::binary) << text;
}

bool Exists(const std::string& path) {
  return std::filesystem::exists(stellane::PathFromUtf8(path));
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(stellane::PathFromUtf8(folder)))
    names.push_back(stellane::Utf8FromPath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace clitest
