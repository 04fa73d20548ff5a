#include "stellane/RenderBatch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <system_error>

#include "params/FilePaths.h"
#include "stellane/CliError.h"
#include "stellane/Commands.h"
#include "stellane/Platform.h"

namespace cli {

namespace {

struct BatchFile {
  std::string input, output;
};

// The inputs as files: a folder stands for the images in it (by their
// extension, sorted by name, not its subfolders).
std::vector<std::string> InputFiles(const std::vector<std::string>& given) {
  std::vector<std::string> files;
  for (const std::string& name : given) {
    std::error_code error;
    const std::filesystem::path path = stellane::PathFromUtf8(name);
    if (!std::filesystem::is_directory(path, error)) {
      files.push_back(name);
      continue;
    }
    std::vector<std::string> images;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
      ImageFileKind kind;
      const std::string file = stellane::Utf8FromPath(entry.path());
      if (entry.is_regular_file(error) && ImageFileKindFromName(file, kind)) images.push_back(file);
    }
    if (error) Fail("cannot list the folder " + name + ": " + error.message());
    if (images.empty()) Fail(name + ": no PNG, JPEG or TIFF files in this folder");
    std::sort(images.begin(), images.end());
    files.insert(files.end(), images.begin(), images.end());
  }
  return files;
}

std::vector<BatchFile> PlanBatch(const RenderOptions& options) {
  std::error_code error;
  if (!std::filesystem::is_directory(stellane::PathFromUtf8(options.outDir), error))
    Fail("--out-dir " + options.outDir + ": no such folder");
  std::vector<BatchFile> plan;
  std::map<std::string, std::string> inputOf;  // output -> input
  for (const std::string& input : InputFiles(options.files)) {
    std::filesystem::path name = stellane::PathFromUtf8(input).filename();
    if (!options.format.empty()) name.replace_extension("." + options.format);
    const std::string output =
        stellane::Utf8FromPath(stellane::PathFromUtf8(options.outDir) / name);
    const auto [previous, fresh] = inputOf.emplace(output, input);
    if (!fresh)
      UsageError(input + " and " + previous->second + " would both be written to " + output);
    plan.push_back({input, output});
  }
  return plan;
}

// The worker's one-line message without the program's prefix.
std::string WorkerMessage(const std::string& errorFile, int exitCode) {
  std::string text;
  if (std::FILE* file = stellane::OpenFile(errorFile.c_str(), "rb")) {
    char buffer[4096];
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    text.assign(buffer, count);
  }
  std::filesystem::remove(stellane::PathFromUtf8(errorFile));
  const std::string prefix = "stellane: ";
  if (text.rfind(prefix, 0) == 0) text.erase(0, prefix.size());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const std::size_t newline = text.find('\n');
  if (newline != std::string::npos) text.resize(newline);
  return text.empty() ? "failed (exit status " + std::to_string(exitCode) + ")" : text;
}

void DrawProgress(std::size_t done, std::size_t total) {
  constexpr std::size_t kWidth = 40;
  std::string bar(kWidth, '-');
  std::fill_n(bar.begin(), done * kWidth / total, '#');
  std::fprintf(stderr, "\rRendering [%s] %zu/%zu files", bar.c_str(), done, total);
  std::fflush(stderr);
}

}  // namespace

int RenderBatch(const RenderOptions& options) {
  const std::vector<BatchFile> plan = PlanBatch(options);
  const bool showProgress = !options.quiet && StderrIsTerminal();
  const std::string errorFolder =
      stellane::Utf8FromPath(std::filesystem::temp_directory_path() / "");
  const std::string tag = std::to_string(std::random_device{}());

  std::vector<long long> running;
  std::vector<std::size_t> runningIndex;
  std::size_t next = 0, done = 0, failed = 0;
  auto errorFile = [&](std::size_t index) {
    return errorFolder + "stellane-batch-" + tag + "-" + std::to_string(index) + ".txt";
  };
  auto report = [&](std::size_t index, const std::string& message) {
    ++failed;
    if (showProgress) std::fputs("\r\033[K", stderr);
    // A worker's message mostly names its file already.
    const std::string& input = plan[index].input;
    if (message.find(input) == std::string::npos)
      std::fprintf(stderr, "stellane: %s: %s\n", input.c_str(), message.c_str());
    else
      std::fprintf(stderr, "stellane: %s\n", message.c_str());
  };
  if (showProgress) DrawProgress(0, plan.size());
  while (done < plan.size()) {
    while (!InterruptRequested() && next < plan.size() &&
           running.size() < std::size_t(options.jobs)) {
      // The same command line, with the worker's file just after "render"
      // (before any "--" that ends the options).
      Arguments args = CommandLine();
      args.insert(args.begin() + 1, {"--quiet", "--batch-input=" + plan[next].input,
                                     "--batch-output=" + plan[next].output});
      const long long worker = StartWorker(args, errorFile(next));
      if (worker < 0) {
        std::error_code ignored;
        std::filesystem::remove(stellane::PathFromUtf8(errorFile(next)), ignored);
        report(next, "cannot start a worker process");
        ++done;
      } else {
        running.push_back(worker);
        runningIndex.push_back(next);
      }
      ++next;
    }
    if (running.empty()) break;
    int exitCode = 0;
    const std::size_t which = WaitForWorker(running, exitCode);
    const std::size_t index = runningIndex[which];
    running.erase(running.begin() + long(which));
    runningIndex.erase(runningIndex.begin() + long(which));
    const std::string message = WorkerMessage(errorFile(index), exitCode);
    if (exitCode != kExitOk && !InterruptRequested()) report(index, message);
    ++done;
    if (showProgress) DrawProgress(done, plan.size());
  }
  if (showProgress) std::fputc('\n', stderr);
  if (InterruptRequested())
    throw CliError{"cancelled; the files not finished were not written", InterruptExitCode()};
  if (failed > 0)
    Fail(std::to_string(failed) + " of " + std::to_string(plan.size()) + " files failed");
  if (!options.quiet) std::printf("wrote %zu files into %s\n", plan.size(), options.outDir.c_str());
  return kExitOk;
}

}  // namespace cli
