#include "DialogDriver.h"

#include <cstdint>
#include <fstream>
#include <sstream>

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

void DialogScenario::SetUp() {
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
