// The common dialogs the main dialog opens: file open and save (the settings
// file opens in the preset browser, with a pane showing the selected
// preset's thumbnail), the colour chooser (the host's colour services when
// offered), the info picture and the shell's "open" for written pages.
// clang-format off
#include <windows.h>  // first: the other Win32 headers build on it
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "dialog/DialogViewWin32.h"
#include "dialog/MainDialog.h"
#include "dialog/VisualStylesWin32.h"
#include "host/HostUi.h"
#include "host/WhiteBoxWin32.h"
#include "host/WindowPlacementWin32.h"
#include "params/FilePaths.h"
#include "params/SettingsFile.h"

namespace stellane {

namespace {

// The colour chooser's custom colours outlast the dialog and the run: they
// live as long as the host, as in any Windows program (hence process-wide).
COLORREF customColours[16] = {};

struct FileChoiceText {
  const char* title;
  const char* filter;  // pairs of zero-terminated strings, ending in "\0\0"
  const char* extension;
  bool save;
};

FileChoiceText TextOf(FileChoice kind) {
  switch (kind) {
    case FileChoice::OpenSettings:
      return {"Open a settings file", "Stellane presets (*.q9r)\0*.q9r\0", "q9r", false};
    case FileChoice::SaveSettings:
      return {"Save a settings file", "Stellane presets (*.q9r)\0*.q9r\0", "q9r", true};
    case FileChoice::AnyFileInFolder:
      return {"Choose any file in the source folder", "All files (*.*)\0*.*\0", nullptr, false};
    case FileChoice::SavePsd:
      return {"Save a PSD file", "Photoshop files (*.psd)\0*.psd\0", "psd", true};
    case FileChoice::SaveHtmlPage:
      return {"Save an HTML page", "HTML pages (*.html)\0*.html\0", "html", true};
  }
  return {"", "All files (*.*)\0*.*\0", nullptr, false};
}

bool Utf8Path(const wchar_t* wide, char (&path)[kPathBytes]) {
  const std::string text = Utf8FromPath(std::filesystem::path(wide));
  if (text.size() >= kPathBytes) return false;
  std::memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

// An ASCII filter list with its embedded zeros, widened.
std::wstring WideFilter(const char* filter) {
  std::wstring wide;
  for (const char* p = filter; *p; p += std::strlen(p) + 1)
    wide.append(p, p + std::strlen(p)).push_back(L'\0');
  return wide;
}

// ---- The preset browser: the open dialog with the child template
// "FANCY_OPEN4", whose pane (control 123) shows the selected preset's
// thumbnail. The pane's image (128 x 128, format 3) lives on ChooseFile's
// stack; the hook finds it in its window's user data.

constexpr int kPresetPane = 123;

TiledImage* PaneThumbnail(HWND child) {
  return reinterpret_cast<TiledImage*>(GetWindowLongPtrA(child, GWLP_USERDATA));
}

bool EndsWithQ9r(const char* path) {
  const std::size_t length = std::strlen(path);
  return length >= 4 && _stricmp(path + length - 4, ".q9r") == 0;
}

// The thumbnail scaled to the pane, each pane pixel from its nearest
// thumbnail pixel.
void PaintPresetPane(const TiledImage& pane, const DRAWITEMSTRUCT& item) {
  PaintPackedImage(item.hDC, pane, kThumbnailSide, kThumbnailSide, item.rcItem);
}

void RepaintPane(HWND child) {
  HWND pane = GetDlgItem(child, kPresetPane);
  InvalidateRect(pane, nullptr, FALSE);
  UpdateWindow(pane);
}

// A new selection: the grey ramp at once, then the file's own thumbnail.
void ShowSelectedPreset(HWND child, TiledImage& pane) {
  ResetToGreyRamp(pane);
  RepaintPane(child);
  wchar_t wide[kPathBytes] = {};
  char path[kPathBytes] = {};
  if (SendMessageW(GetParent(child), CDM_GETFILEPATH, kPathBytes, reinterpret_cast<LPARAM>(wide)) <=
          0 ||
      !Utf8Path(wide, path) || !EndsWithQ9r(path))
    return;
  RenderParams ignored{};
  ReadSettingsFile(path, SettingsReadMode::ThumbnailOnly, ignored, &pane);
  RepaintPane(child);
}

UINT_PTR CALLBACK PresetBrowserHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(child, GWLP_USERDATA,
                        reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_SELCHANGE && PaneThumbnail(child))
        ShowSelectedPreset(child, *PaneThumbnail(child));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != kPresetPane || !PaneThumbnail(child)) return 0;
      PaintPresetPane(*PaneThumbnail(child), *item);
      return TRUE;
    }
    default:
      return 0;
  }
}
constexpr int kInfoTitle = 1001;

// The open info box: the main dialog it watches and its title's font. It
// lives on ShowInfoBox's stack; the box finds it in its user data.
struct InfoBox {
  HWND owner;
  HFONT titleFont;
};

InfoBox* InfoOf(HWND box) {
  return reinterpret_cast<InfoBox*>(GetWindowLongPtrA(box, GWLP_USERDATA));
}

// Beside the main dialog, on its right, kept inside the screen.
void PlaceInfoBox(HWND box) {
  RECT main, own;
  if (!GetWindowRect(InfoOf(box)->owner, &main) || !GetWindowRect(box, &own)) return;
  MoveOntoScreen(box, main.right - (own.right - own.left) / 3, main.top + 40);
}

INT_PTR CALLBACK InfoProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  InfoBox* info = InfoOf(box);  // null until the initialisation
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(box, GWLP_USERDATA, lParam);
      PlaceInfoBox(box);
      HFONT& font = InfoOf(box)->titleFont;
      font =
          CreateFontA(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
      if (font)
        SendDlgItemMessageA(box, kInfoTitle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      SetTimer(box, kInfoBoxTimer, kTimerPeriodMs, nullptr);
      return TRUE;
    }
    case WM_ERASEBKGND:
      return EraseWhite(box, wParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      // Like the About box's, the title in the banner's night blue.
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kInfoTitle)
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(28, 34, 78));
      return WhiteUnderText(wParam);
    case WM_TIMER:
      // Closes itself once the main dialog is gone; an ended dialog is
      // hidden before it is destroyed.
      if (wParam == kInfoBoxTimer && info &&
          (!IsWindow(info->owner) || !IsWindowVisible(info->owner)))
        DestroyWindow(box);
      return TRUE;
    case WM_CLOSE:
    case WM_COMMAND:  // any button
      DestroyWindow(box);
      return TRUE;
    case WM_DESTROY:
      KillTimer(box, kInfoBoxTimer);
      if (info && info->titleFont) DeleteObject(info->titleFont);
      if (info) info->titleFont = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

// The preset library installed beside the module ("presets" in the module's
// folder), or empty when there is none.
std::wstring PresetLibraryFolder(HINSTANCE module) {
  wchar_t modulePath[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  const std::wstring library =
      std::filesystem::path(modulePath).parent_path().append(L"presets").wstring();
  const DWORD attributes = GetFileAttributesW(library.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return L"";
  return library;
}

}  // namespace

bool Win32DialogWindow::ChooseFile(FileChoice kind, const char* folder, const char* name,
                                   char (&path)[kPathBytes]) {
  // One file dialog at a time; a second request counts as cancelled.
  if (fileDialogOpen) return false;
  const FileChoiceText text = TextOf(kind);
  wchar_t file[kPathBytes] = {};
  const std::wstring wideName = Wide(name);
  wideName.copy(file, kPathBytes - 1);
  const std::wstring filter = WideFilter(text.filter), title = Wide(text.title),
                     extension = Wide(text.extension);
  // Until the user has chosen a folder, the preset browser opens the library.
  std::wstring wideFolder = Wide(folder);
  if (wideFolder.empty() && kind == FileChoice::OpenSettings)
    wideFolder = PresetLibraryFolder(module);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kPathBytes;
  ofn.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = text.extension ? extension.c_str() : nullptr;
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (text.save)
    ofn.Flags |= OFN_OVERWRITEPROMPT;
  else
    ofn.Flags |= OFN_FILEMUSTEXIST;
  // The preset browser; without its pane image it is a plain open dialog.
  TiledImage pane{};
  if (kind == FileChoice::OpenSettings) InitTiledImage(pane);
  const bool browser = kind == FileChoice::OpenSettings &&
                       CreateTiledImage(pane, kThumbnailSide, kThumbnailSide, kFormatPacked8);
  if (browser) {
    ResetToGreyRamp(pane);
    ofn.lCustData = reinterpret_cast<LPARAM>(&pane);
    ofn.hInstance = module;
    ofn.lpTemplateName = L"FANCY_OPEN4";
    ofn.lpfnHook = PresetBrowserHook;
    ofn.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
  }
  fileDialogOpen = true;
  const VisualStylesScope activeStyles(styles);
  const BOOL chosen = text.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  fileDialogOpen = false;
  if (browser) ReleaseTiledImage(pane);
  return chosen && Utf8Path(file, path);
}

bool Win32DialogWindow::ChooseColour(Color16& colour) {
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = dialog;
  cc.rgbResult = RGB(colour.red >> 8, colour.green >> 8, colour.blue >> 8);
  cc.lpCustColors = customColours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  const VisualStylesScope activeStyles(styles);
  if (!ChooseColorA(&cc)) return false;
  colour.red = static_cast<std::uint16_t>(GetRValue(cc.rgbResult) << 8);
  colour.green = static_cast<std::uint16_t>(GetGValue(cc.rgbResult) << 8);
  colour.blue = static_cast<std::uint16_t>(GetBValue(cc.rgbResult) << 8);
  return true;
}

void Win32DialogWindow::ShowAbout() { ShowAboutBox(reinterpret_cast<std::intptr_t>(dialog)); }

void Win32DialogWindow::ShowInfoBox() {
  // Without an owner, so that the main dialog stays usable beside it. The
  // loop is our own: a modal box's loop would keep the keyboard to itself,
  // and Escape, Enter, Tab and the mnemonics would do nothing in the main
  // dialog meanwhile.
  if (infoBoxOpen) return;
  infoBoxOpen = true;
  InfoBox info{dialog, nullptr};
  HWND box = CreateDialogParamA(module, "PEXA_INFO_BOX", nullptr, InfoProc,
                                reinterpret_cast<LPARAM>(&info));
  if (box) ShowWindow(box, SW_SHOW);
  MSG msg;
  while (box && IsWindow(box)) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      // A program that quits closes the box; the quit goes on to the
      // dialog's own loop.
      DestroyWindow(box);
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsDialogMessageA(box, &msg) || IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  infoBoxOpen = false;
}

void Win32DialogWindow::OpenDocument(const char* path) {
  ShellExecuteW(dialog, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace stellane
