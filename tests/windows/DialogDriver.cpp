#include "DialogDriver.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include "host/TopDownBitmapWin32.h"
#include "stellane/ImageFiles.h"

namespace wintest {

namespace {

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// What a searched window must match; a field left null (0, -1) matches any
// window: a visible one of that process, its title, class, control number.
struct Search {
  DWORD processId;
  const char *title, *className;
  int control;
  HWND found = nullptr;
};

BOOL CALLBACK Matches(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = {}, className[64] = {};
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, className, sizeof className);
  const bool found = (!s->processId || (owner == s->processId && IsWindowVisible(window))) &&
                     (!s->title || std::string(title) == s->title) &&
                     (!s->className || std::string(className) == s->className) &&
                     (s->control < 0 || GetDlgCtrlID(window) == s->control);
  if (found) s->found = window;
  return !found;
}

// The file name box of an explorer-style chooser: a combo box (cmb13) on
// current systems, an edit box (edt1) on older ones.
HWND ChooserNameBox(HWND chooser) {
  HWND box = GetDlgItem(chooser, 0x47C);
  return box ? box : GetDlgItem(chooser, 0x480);
}

}  // namespace

void Settle(HWND window, int milliseconds) {
  // A sent message returns once the window's thread has handled everything
  // posted before it.
  Sleep(DWORD(milliseconds));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
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

void ClickIn(HWND dialog, int x, int y, bool rightButton) {
  PostMessageA(dialog, rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
               rightButton ? MK_RBUTTON : MK_LBUTTON, Point(x, y));
  PostMessageA(dialog, rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, Point(x, y));
  Settle(dialog, 200);  // the click's command is posted on release
}

void PressButton(HWND window, int control) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, control)));
  Settle(window, 50);
}

void TypeInto(HWND dialog, int control, const char* text) {
  SendMessageA(GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string TextOf(HWND window, int control) {
  char text[256] = {};
  GetDlgItemTextA(window, control, text, sizeof text);
  return text;
}

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
  Search search{0, nullptr, "SysListView32", -1};
  EnumChildWindows(chooser, Matches, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  PostMessageA(search.found, WM_KEYDOWN, VK_HOME, 0);
  PostMessageA(search.found, WM_KEYUP, VK_HOME, 0);
  Settle(chooser, 300);
  return true;
}

HWND FindControl(HWND parent, int control) {
  Search search{0, nullptr, nullptr, control};
  EnumChildWindows(parent, Matches, reinterpret_cast<LPARAM>(&search));
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
  if (process_.hProcess) Finish(0);  // a scenario that stopped early
  SetEnvironmentVariableA("TMP", savedTmp_[0] ? savedTmp_ : nullptr);
  SetEnvironmentVariableA("TEMP", savedTemp_[0] ? savedTemp_ : nullptr);
}

void DialogScenario::WriteInput(const std::string& name, int width, int height) {
  input_ = "test-tmp\\scenario-" + name + ".png";
  testhost::Image image = testhost::Image::Make(width, height, 3, 8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        image.Set(x, y, c, std::uint8_t(c == 0 ? x * 2 : c == 1 ? y * 3 : 90));
  ASSERT_NO_THROW(cli::WritePng(image, input_));
}

bool DialogScenario::Start(const std::string& name, const std::string& extra) {
  // An empty temporary folder, for this program and the programs it starts.
  temp_ = FullPath("test-tmp\\temp-" + name) + "\\";
  CreateDirectoryA(temp_.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE list = FindFirstFileA((temp_ + "*").c_str(), &found);
  if (list != INVALID_HANDLE_VALUE) {
    do DeleteFileA((temp_ + found.cFileName).c_str());
    while (FindNextFileA(list, &found));
    FindClose(list);
  }
  SetEnvironmentVariableA("TMP", temp_.c_str());
  SetEnvironmentVariableA("TEMP", temp_.c_str());

  output_ = "test-tmp\\scenario-" + name + ".png";
  record_ = "test-tmp\\scenario-" + name + ".txt";
  DeleteFileA(output_.c_str());
  DeleteFileA(record_.c_str());
  std::string line = "stellane.exe render --dialog --quiet " + extra + " --record " + record_ +
                     " " + input_ + " " + output_;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA("stellane.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_))
    return false;
  dialog_ = FindRunDialog("Stellane", 60);
  if (dialog_) Settle(dialog_, 300);
  return dialog_ != nullptr;
}

HWND DialogScenario::FindRunDialog(const char* title, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    Search search{process_.dwProcessId, title, "#32770", -1};
    EnumWindows(Matches, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

void DialogScenario::Choose(const char* title, const std::string& path) {
  HWND chooser = FindRunDialog(title, 20);
  ASSERT_NE(chooser, nullptr) << "no chooser \"" << title << "\"";
  ASSERT_TRUE(AnswerFileChooser(chooser, path)) << "the chooser stayed open: " << title;
}

int DialogScenario::Finish(int seconds) {
  if (!process_.hProcess) return -1;
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(process_.hProcess, DWORD(seconds) * 1000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.hProcess, &code);
  else
    TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};
  return int(code);
}

void DialogScenario::Screenshot(HWND window, const std::string& name) {
  Settle(window, 200);
  RECT r;
  ASSERT_TRUE(GetWindowRect(window, &r));
  const int width = r.right - r.left, height = r.bottom - r.top;
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
  testhost::Image image = testhost::Image::Make(width, height, 3, 8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        image.Set(x, y, c, std::uint8_t(pixels[std::size_t(y) * width + x] >> (16 - 8 * c)));
  EXPECT_NO_THROW(cli::WritePng(image, "test-artifacts\\dialog-" + name + ".png"));
}

std::string DialogScenario::PressOkForRecord() {
  PressButton(dialog_, kOk);
  EXPECT_EQ(Finish(120), 0);
  EXPECT_TRUE(Exists(output_)) << "no output image";
  return ReadText(record_);
}

void DialogScenario::CancelWithEscape() {
  PostMessageA(GetDlgItem(dialog_, kEditA), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Finish(60), kExitCancelled);
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
