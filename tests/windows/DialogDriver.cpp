#include "DialogDriver.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "host/TopDownBitmapWin32.h"
#include "stellane/ImageFiles.h"

namespace wintest {

namespace {

struct Search {
  DWORD processId;
  const char* title;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = {};
  char className[16] = {};
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && IsWindowVisible(window) &&
      std::string(title) == search->title && std::string(className) == "#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

DialogRun StartDialogRun(const std::string& arguments, int seconds) {
  DialogRun run;
  std::string line = "stellane.exe " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA("stellane.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &run.process))
    return run;
  run.dialog = FindRunDialog(run, "Stellane", seconds);
  return run;
}

DialogRun StartRecordedDialogRun(const std::string& input, const std::string& output,
                                 const std::string& record, const std::string& extra) {
  DeleteFileA(output.c_str());
  DeleteFileA(record.c_str());
  DialogRun run = StartDialogRun(
      "render --dialog --quiet " + extra + " --record " + record + " " + input + " " + output, 60);
  if (run.dialog) Settle(run.dialog, 300);
  return run;
}

HWND FindRunDialog(const DialogRun& run, const char* title, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    Search search{run.process.dwProcessId, title, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(run.process.hProcess, 100) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

int FinishDialogRun(DialogRun& run, int seconds) {
  if (!run.process.hProcess) return -1;
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(run.process.hProcess, DWORD(seconds) * 1000) == WAIT_OBJECT_0)
    GetExitCodeProcess(run.process.hProcess, &code);
  else
    TerminateProcess(run.process.hProcess, 1);
  CloseHandle(run.process.hProcess);
  CloseHandle(run.process.hThread);
  run.process = {};
  return int(code);
}

void Settle(HWND dialog, int milliseconds) {
  // A sent message returns once the dialog's thread has handled everything
  // posted before it.
  Sleep(DWORD(milliseconds));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void DragIn(HWND dialog, int fromX, int fromY, int toX, int toY) {
  PostMessageA(dialog, WM_MOUSEMOVE, 0, Point(fromX, fromY));
  PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, Point(fromX, fromY));
  Settle(dialog, 50);
  const int steps = 5;
  for (int i = 1; i <= steps; ++i)
    PostMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON,
                 Point(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps));
  PostMessageA(dialog, WM_LBUTTONUP, 0, Point(toX, toY));
  Settle(dialog, 50);
}

void ClickIn(HWND dialog, int x, int y, bool rightButton, bool ctrlHeld) {
  const WPARAM keys = (rightButton ? MK_RBUTTON : MK_LBUTTON) | (ctrlHeld ? MK_CONTROL : 0);
  PostMessageA(dialog, rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys, Point(x, y));
  PostMessageA(dialog, rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, Point(x, y));
  Settle(dialog, 50);
}

void PressButton(HWND dialog, int control) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
  Settle(dialog, 50);
}

void TypeInto(HWND dialog, int control, const char* text) {
  SendMessageA(GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string TextOf(HWND dialog, int control) {
  char text[256] = {};
  GetDlgItemTextA(dialog, control, text, sizeof text);
  return text;
}

bool SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = stellane::TopDownBitmapInfo(width, height);
  std::vector<std::uint32_t> pixels(std::size_t(width) * height);
  GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  std::vector<std::uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (std::uint32_t p : pixels)
    rgb.push_back(std::uint8_t(p >> 16)), rgb.push_back(std::uint8_t(p >> 8)),
        rgb.push_back(std::uint8_t(p));
  return WritePng(path, width, height, rgb);
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
  testhost::Image image = testhost::Image::Make(width, height, 3, 8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      std::memcpy(image.SamplePtr(x, y, 0), &rgb[(std::size_t(y) * width + x) * 3], 3);
  try {
    cli::WritePng(image, path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// ---- File choosers and windows of the export scenarios.

namespace {

// The file name box of an explorer-style chooser: a combo box (cmb13) on
// current systems, an edit box (edt1) on older ones.
constexpr int kChooserNameCombo = 0x47C;
constexpr int kChooserNameEdit = 0x480;

HWND ChooserNameBox(HWND chooser) {
  HWND box = GetDlgItem(chooser, kChooserNameCombo);
  return box ? box : GetDlgItem(chooser, kChooserNameEdit);
}

struct ChildSearch {
  int control;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if ((search->control < 0 || GetDlgCtrlID(child) == search->control) &&
      (!search->className || std::string(className) == search->className)) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool AnswerFileChooser(HWND chooser, const std::string& path) {
  SendMessageA(ChooserNameBox(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
  return WaitUntilClosed(chooser, 20);
}

std::string ChooserFileName(HWND chooser) {
  // Sent, not GetWindowText: that does not ask another program's controls.
  char text[MAX_PATH] = {};
  SendMessageA(ChooserNameBox(chooser), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

bool SelectFirstListedFile(HWND chooser) {
  ChildSearch search{-1, "SysListView32", nullptr};
  EnumChildWindows(chooser, FindChild, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  PostMessageA(search.found, WM_KEYDOWN, VK_HOME, 0);
  PostMessageA(search.found, WM_KEYUP, VK_HOME, 0);
  Settle(chooser, 300);
  return true;
}

HWND FindControl(HWND parent, int control) {
  ChildSearch search{control, nullptr, nullptr};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::uint32_t CentreColour(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return 0;
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

bool WaitUntilClosed(HWND window, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(100);
  }
  return false;
}

// ---- The shell's "open", observed.

namespace {

// HKEY_CLASSES_ROOT is the machine's classes under Wine.
constexpr const char* kClasses = "Software\\Classes\\";
constexpr const char* kStubClass = "StellaneTestShellOpen";
constexpr const char* kOpenCommand = "\\shell\\open\\command";

void SetDefaultValue(std::string key, const std::string& value) {
  key.insert(0, kClasses);
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 DWORD(value.size() + 1));
  RegCloseKey(k);
}

std::string DefaultValue(const std::string& key) {
  char value[256] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_LOCAL_MACHINE, (kClasses + key).c_str(), value, &size) != ERROR_SUCCESS)
    return "";
  return value;
}

}  // namespace

ShellOpenStub::ShellOpenStub(const std::string& log) : log_(FullPath(log)) {
  DeleteFileA(log_.c_str());
  // cmd's echo appends the quoted address or path; the class has no DDE
  // conversation of its own, so the command runs at once.
  const std::string command = "cmd.exe /c echo \"%1\">>\"" + log_ + "\"";
  SetDefaultValue(std::string(kStubClass) + kOpenCommand, command);
  savedHtmlClass_ = DefaultValue(".html");
  SetDefaultValue(".html", kStubClass);
  savedHttpsCommand_ = DefaultValue(std::string("https") + kOpenCommand);
  SetDefaultValue(std::string("https") + kOpenCommand, command);
}

ShellOpenStub::~ShellOpenStub() {
  const auto remove = [](const std::string& key) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kClasses + key).c_str());
  };
  if (savedHtmlClass_.empty())
    remove(".html");
  else
    SetDefaultValue(".html", savedHtmlClass_);
  SetDefaultValue(std::string("https") + kOpenCommand, savedHttpsCommand_);
  remove(kStubClass);
}

std::string ShellOpenStub::WaitFor(const std::string& expected, int seconds) const {
  std::string opened = ReadText(log_);
  for (int waited = 0; waited < seconds * 10 && opened.find(expected) == std::string::npos;
       ++waited) {
    Sleep(100);
    opened = ReadText(log_);
  }
  return opened;
}

void DialogScenario::SetUp() {
  CreateDirectoryA("test-artifacts", nullptr);
  CreateDirectoryA("test-tmp", nullptr);
  GetEnvironmentVariableA("TMP", savedTmp_, sizeof savedTmp_);
  GetEnvironmentVariableA("TEMP", savedTemp_, sizeof savedTemp_);
  WriteInput("input", 90, 62);  // odd sizes catch swapped sides
}

void DialogScenario::TearDown() {
  if (run_.process.hProcess) FinishDialogRun(run_, 0);  // a scenario that stopped early
  SetEnvironmentVariableA("TMP", savedTmp_[0] ? savedTmp_ : nullptr);
  SetEnvironmentVariableA("TEMP", savedTemp_[0] ? savedTemp_ : nullptr);
}

void DialogScenario::WriteInput(const std::string& name, int width, int height) {
  input_ = "test-tmp\\scenario-" + name + ".png";
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      rgb.insert(rgb.end(), {std::uint8_t(x * 2), std::uint8_t(y * 3), std::uint8_t(90)});
  ASSERT_TRUE(WritePng(input_, width, height, rgb));
}

bool DialogScenario::Start(const std::string& name, const std::string& extra) {
  UseEmptyTempFolder(name);
  output_ = "test-tmp\\scenario-" + name + ".png";
  record_ = "test-tmp\\scenario-" + name + ".txt";
  run_ = StartRecordedDialogRun(input_, output_, record_, extra);
  return run_.dialog != nullptr;
}

void DialogScenario::UseEmptyTempFolder(const std::string& name) {
  temp_ = FullPath("test-tmp\\temp-" + name) + "\\";
  CreateDirectoryA(temp_.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE list = FindFirstFileA((temp_ + "*").c_str(), &found);
  if (list != INVALID_HANDLE_VALUE) {
    do DeleteFileA((temp_ + found.cFileName).c_str());
    while (FindNextFileA(list, &found));
    FindClose(list);
  }
  // Of this program and of the programs it starts.
  SetEnvironmentVariableA("TMP", temp_.c_str());
  SetEnvironmentVariableA("TEMP", temp_.c_str());
}

void DialogScenario::Screenshot(HWND window, const std::string& name) {
  Settle(window, 200);
  EXPECT_TRUE(SaveScreenshot(window, "test-artifacts\\dialog-" + name + ".png"));
}

std::string DialogScenario::PressOkForRecord() {
  PressButton(run_.dialog, kOk);
  EXPECT_EQ(FinishDialogRun(run_, 120), 0);
  EXPECT_TRUE(Exists(output_)) << "no output image";
  return ReadText(record_);
}

void DialogScenario::CancelWithEscape() {
  PostMessageA(GetDlgItem(run_.dialog, kEditA), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(FinishDialogRun(run_, 60), kExitCancelled);
  EXPECT_FALSE(Exists(output_)) << "a cancelled run wrote its image";
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return full;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace wintest
