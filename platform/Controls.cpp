// The control kinds and their factories: the application window, forms and
// the six controls, each made as the element that holds it asks; and the
// program's one tooltip window.
#include "Layer.h"

#include <commctrl.h> // after windows.h

#include "DllSearch.h"
#include "Share.h"
#include "Text.h"

TWindowObject* ApplicationWindow = nullptr;

namespace {

// A static control that notifies clicks, shows ampersands as they are and
// keeps its text on one line: the panel and the label.
constexpr DWORD StaticText = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;

// Indexed by TControlKindId.
const TControlKind Kinds[] = {
    {L"App", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, 0, 0, false, false},
    {L"Form", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 320, 240,
     true, false},
    {L"STATIC", StaticText, WS_EX_CONTROLPARENT, 185, 41, false, false},
    {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE, 0, 75, 22, true, true},
    {L"STATIC", StaticText, 0, 65, 22, false, false},
    {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_GROUP | WS_TABSTOP | BS_GROUPBOX,
     WS_EX_CONTROLPARENT, 185, 105, false, false},
    {L"EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 100, 22, true, true},
    {TOOLTIPS_CLASSW, WS_POPUP, 0, 0, 0, false, false},
};

HWND TooltipHandle = nullptr;

// The common controls are loaded here, not imported: comctl32 is no known
// library of the system, and an import would be resolved before the program
// could keep its own folder out of the search. Loaded by bare name so that the
// manifest's version 6.0 applies; never freed, the control classes live in it.
void InitCommonControlsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  using TInitCommonControlsEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initControls =
      SystemFunction<TInitCommonControlsEx>(LoadSystemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  if (initControls) initControls(&icc);
}

uintptr_t MainWindowOfLayer();

TWindowObject* MakeControl(TControlKindId kind, TWindowObject* parent, const std::string& text) {
  auto* object = new TWindowObject(kind, parent);
  if (!text.empty()) object->SetText(text);
  return object;
}

} // namespace

const TControlKind& KindOf(TControlKindId kind) { return Kinds[kind]; }

void PrepareWindowClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  // Wide classes: their windows keep every text as UTF-16.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &LayerWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = L"App";
  RegisterClassExW(&wc);
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = L"Form";
  RegisterClassExW(&wc);
  InitCommonControlsOnce();
}

// A themed group box draws its caption in the theme's text colour and ignores
// the colour its parent hands out; without a theme it takes that colour. The
// theme library is loaded, not imported, for the same reason as comctl32.
void SwitchThemeOff(HWND hwnd) {
  using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme =
      SystemFunction<TSetWindowTheme>(LoadSystemLibrary(L"uxtheme.dll"), "SetWindowTheme");
  // No class list of that name exists, so the window gets no theme at all.
  if (setWindowTheme) setWindowTheme(hwnd, L" ", L" ");
}

TWindowObject* CreateApplicationWindow() {
  if (ApplicationWindow) return ApplicationWindow;
  InitCommonControlsOnce();
  auto* app = new TWindowObject(ckApplication, nullptr);
  app->SetBounds(0, 0, 0, 0);
  // LoadIconW hands out a shared icon: used, never destroyed.
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) app->SetIcon(icon, false);
  ApplicationWindow = app;
  SetMainWindowSource(&MainWindowOfLayer);
  return app;
}

TWindowObject* CreateForm(TWindowObject* parent, const std::string& caption) {
  auto* form = new TWindowObject(ckForm, parent);
  form->SetText(caption);
  return form;
}

TWindowObject* CreatePanel(TWindowObject* parent, const TPanelData& data) {
  TWindowObject* panel = MakeControl(ckPanel, parent, std::string());
  panel->PanelData() = data;
  return panel;
}

TWindowObject* CreateButton(TWindowObject* parent, const std::string& caption) {
  return MakeControl(ckButton, parent, caption);
}

TWindowObject* CreateLabel(TWindowObject* parent, const std::string& text) {
  return MakeControl(ckLabel, parent, text);
}

TWindowObject* CreateGroupBox(TWindowObject* parent, const std::string& caption) {
  return MakeControl(ckGroupBox, parent, caption);
}

TWindowObject* CreateEdit(TWindowObject* parent, uint16_t options) {
  TWindowObject* edit = MakeControl(ckEdit, parent, std::string());
  // Option bit -> the edit style it adds.
  static const struct {
    uint16_t Option;
    DWORD Style;
  } styles[] = {{eoLowerCase, ES_LOWERCASE}, {eoMultiLine, ES_MULTILINE}, {eoNoHideSel, ES_NOHIDESEL},
                {eoOemConvert, ES_OEMCONVERT}, {eoPassword, ES_PASSWORD}, {eoReadOnly, ES_READONLY},
                {eoUpperCase, ES_UPPERCASE}, {eoWantReturn, ES_WANTRETURN}, {eoNumber, ES_NUMBER}};
  DWORD style = edit->GetStyle();
  if (!(options & eoNoHScroll)) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (!(options & eoNoVScroll)) style |= WS_VSCROLL | ES_AUTOVSCROLL;
  for (const auto& s : styles)
    if (options & s.Option) style |= s.Style;
  if (!(options & eoMultiLine)) style &= ~DWORD(WS_HSCROLL | WS_VSCROLL);
  TLayerAccess::SetStyleRaw(edit, style);
  TLayerAccess::SetWantTab(edit, (options & eoWantTab) != 0);
  edit->SetTabNavigation(!(options & eoMultiLine) || !(options & eoWantTab));
  if (options & eoMultiLine) edit->SetSize(200, 200);
  return edit;
}

void FreeWindowObject(TWindowObject* object) { delete object; }

HWND CreateTooltip() {
  if (TooltipHandle && IsWindow(TooltipHandle)) return TooltipHandle;
  InitCommonControlsOnce();
  HWND owner = ApplicationWindow ? ApplicationWindow->GetHandle() : nullptr;
  TooltipHandle = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  if (TooltipHandle)
    SetWindowPos(TooltipHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TooltipHandle;
}

void SetTooltipText(TWindowObject* window, const std::string& text) {
  HWND tip = CreateTooltip();
  HWND hwnd = window->GetHandle();
  if (!tip || !hwnd) return;
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE; // accepted by every common-controls version
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd;
  ti.uId = 1;
  TOOLINFOW known = ti;
  const bool registered = SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)) != 0;
  GetClientRect(hwnd, &ti.rect);
  TWideText wide = WideOf(text);
  ti.lpszText = wide.data();
  SendMessageW(tip, registered ? TTM_SETTOOLINFOW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

namespace {

// MainWindowHandle: none without an application window; else the current
// form, else the application window's first child.
uintptr_t MainWindowOfLayer() {
  if (!ApplicationWindow) return 0;
  if (CurrentFormObject && CurrentFormObject->PeekHandle())
    return reinterpret_cast<uintptr_t>(CurrentFormObject->PeekHandle());
  if (ApplicationWindow->Children().empty()) return 0;
  return reinterpret_cast<uintptr_t>(ApplicationWindow->Children().front()->GetHandle());
}

} // namespace
