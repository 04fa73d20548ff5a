#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "params/FilePaths.h"
#include "stellane/Platform.h"

namespace cli {

std::string ExecutableFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".\\";
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? ".\\" : folder.substr(0, slash + 1);
}

const char* DefaultPluginFileName() { return "Stellane.8bf"; }

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

namespace {

// One argument as the C runtime splits a command line: quoted when it holds
// spaces or quotes, backslashes doubled before a quote.
std::wstring QuotedArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

bool PluginDialogAvailable() { return true; }

long long StartWorker(const std::vector<std::string>& args, const std::string& errorFile) {
  wchar_t self[32768];
  const DWORD length = GetModuleFileNameW(nullptr, self, 32768);
  if (length == 0 || length >= 32768) return -1;
  std::wstring commandLine = QuotedArgument(self);
  for (const std::string& arg : args)
    commandLine += L" " + QuotedArgument(stellane::PathFromUtf8(arg).wstring());
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const HANDLE error =
      CreateFileW(stellane::PathFromUtf8(errorFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                  &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE nothing =
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = nothing;
  startup.hStdError = error;
  PROCESS_INFORMATION process{};
  const bool started = error != INVALID_HANDLE_VALUE &&
                       CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  if (error != INVALID_HANDLE_VALUE) CloseHandle(error);
  if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
  if (!started) return -1;
  CloseHandle(process.hThread);
  return (long long)(std::intptr_t)process.hProcess;
}

std::size_t WaitForWorker(const std::vector<long long>& workers, int& exitCode) {
  std::vector<HANDLE> handles;
  for (long long worker : workers) handles.push_back((HANDLE)(std::intptr_t)worker);
  const DWORD which =
      WaitForMultipleObjects(DWORD(handles.size()), handles.data(), FALSE, INFINITE);
  const std::size_t index = which - WAIT_OBJECT_0 < handles.size() ? which - WAIT_OBJECT_0 : 0;
  DWORD code = DWORD(-1);
  GetExitCodeProcess(handles[index], &code);
  CloseHandle(handles[index]);
  exitCode = int(code);
  return index;
}

std::vector<const char*> TempFolderVariables() { return {"TMP", "TEMP"}; }

// The runtime's copy and the process's own (which GetTempPath reads) both.
void SetEnvironmentValue(const char* name, const std::optional<std::string>& value) {
  _putenv_s(name, value ? value->c_str() : "");
  SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
}

bool SyncFile(const std::string& path) {
  const HANDLE file = CreateFileW(stellane::PathFromUtf8(path).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool synced = FlushFileBuffers(file) != 0;
  return CloseHandle(file) != 0 && synced;
}

// Windows runs the handler on a thread of its own, where converting the
// UTF-8 path on the stack is safe.
void RemoveFileFromSignalHandler(const char* path) {
  wchar_t wide[4096];
  if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 4096) > 0) DeleteFileW(wide);
}

}  // namespace cli
