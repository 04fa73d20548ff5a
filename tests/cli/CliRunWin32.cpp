#include <windows.h>

#include <cstdlib>

#include "CliRun.h"

namespace clitest {

namespace {

// Each argument in double quotes for the C runtime's parser: no argument of
// the tests holds a double quote or ends with a backslash.
std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }

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
