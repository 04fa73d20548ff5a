#include <windows.h>

#include <cstdlib>

#include "CliRun.h"

namespace clitest {

namespace {

// One argument quoted for the C runtime's command-line parser: backslashes
// are literal except before a double quote.
std::string Quote(const std::string& arg) {
  std::string quoted = "\"";
  int backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    quoted.append(std::size_t(backslashes), '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(std::size_t(backslashes) * 2, '\\');
  return quoted + "\"";
}

HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, const std::string& outFile,
               const std::string& errFile, Limits /*none can be set here*/) {
  const std::string program = ProgramPath();
  std::string line = Quote(program);
  for (const std::string& arg : args) line += " " + Quote(arg);
  HANDLE out = InheritableFile(outFile), err = InheritableFile(errFile);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process = {};
  DWORD exitCode = DWORD(-1);
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  return int(exitCode);
}

bool LimitsApply(Limits limits) { return limits == Limits::kNone; }

void SetEnvironment(const std::string& name, const std::string& value) {
  // Both the C runtime's copy and the one CreateProcess hands on.
  _putenv((name + "=" + value).c_str());
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

}  // namespace clitest
