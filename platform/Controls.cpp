// The control kinds and their factories: the application window, forms and
// the six controls, each made as the element that holds it asks; and the
// program's one tooltip window.
#include "Layer.h"

#include <commctrl.h> // after windows.h

#include "DllSearch.h"
#include "Text.h"

namespace {

// Every control is a child window that clips its siblings and children away
// when it paints.
constexpr DWORD ChildControl = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// A static control that notifies clicks, shows ampersands as they are and
// keeps its text on one line: the panel and the label.
constexpr DWORD StaticText = ChildControl | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
// Any alignment word also drops SS_LEFTNOWORDWRAP: an aligned label wraps.
const TTextAlignStyles StaticAlign{0x0F, {SS_LEFT, SS_RIGHT, SS_CENTER}};

// The steps once a native window exists. The application window's menu
// offers only what a window of no size does: no size, move, maximise or
// restore. It and the forms show their icons.
void ApplicationCreated(TWindowObject& app) {
  HMENU menu = GetSystemMenu(app.PeekHandle(), FALSE);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
  app.Form()->ShowIcon();
}

void FormCreated(TWindowObject& form) { form.Form()->ShowIcon(); }

void GroupBoxCreated(TWindowObject& groupBox) { SwitchThemeOff(groupBox.PeekHandle()); }

// Indexed by TControlKindId.
const TControlKind Kinds[] = {
    // ckApplication: the taskbar's window, of no size; the forms are its children.
    {.ClassName = L"App", .Style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
     .ExStyle = WS_EX_APPWINDOW, .WantTab = true, .LayerClass = true, .AfterCreate = &ApplicationCreated,
     .Messages = &ApplicationMessage},
    // ckForm: a typed Tab has no text to go into and reaches its procedure.
    {.ClassName = L"Form",
     .Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
     .DefaultWidth = 320, .DefaultHeight = 240, .Focusable = true, .TabNavigation = true, .WantTab = true,
     .Background = bgUnderPaint, .LayerClass = true, .ShownLater = true, .AfterCreate = &FormCreated,
     .Messages = &FormMessage},
    // ckPanel
    {.ClassName = L"STATIC", .Style = StaticText, .ExStyle = WS_EX_CONTROLPARENT, .DefaultWidth = 185,
     .DefaultHeight = 41, .ClickCode = STN_CLICKED},
    // ckButton
    {.ClassName = L"BUTTON", .Style = ChildControl | WS_TABSTOP | BS_PUSHLIKE, .DefaultWidth = 75,
     .DefaultHeight = 22, .Focusable = true, .TabNavigation = true, .PushButton = true, .ClickCode = BN_CLICKED},
    // ckLabel
    {.ClassName = L"STATIC", .Style = StaticText, .DefaultWidth = 65, .DefaultHeight = 22,
     .ClickCode = STN_CLICKED, .TextAlign = &StaticAlign},
    // ckGroupBox
    {.ClassName = L"BUTTON", .Style = ChildControl | WS_GROUP | WS_TABSTOP | BS_GROUPBOX,
     .ExStyle = WS_EX_CONTROLPARENT, .DefaultWidth = 185, .DefaultHeight = 105, .Background = bgFilled,
     .AfterCreate = &GroupBoxCreated},
    // ckEdit: the colour of a field to type in, whatever is around it. It lays
    // its whole text out anew for every font it gets: a long licence is laid
    // out once, not twice, when the text comes after the font.
    {.ClassName = L"EDIT", .Style = ChildControl | WS_BORDER | WS_TABSTOP, .DefaultWidth = 100,
     .DefaultHeight = 22, .Color = int32_t(0xFF000005), .ColorFromParent = false, .Focusable = true,
     .TabNavigation = true, .OwnEnter = ES_MULTILINE | ES_WANTRETURN, .ChangeCode = EN_CHANGE,
     .TextAfterFont = true},
    // ckTooltip
    {.ClassName = TOOLTIPS_CLASSW, .Style = WS_POPUP},
};
static_assert(sizeof Kinds / sizeof Kinds[0] == ckTooltip + 1, "a row for every kind");

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

TFormObject* TApplication::CreateApplicationWindow() {
  if (AppWindow) return AppWindow;
  InitCommonControlsOnce();
  auto* app = new TFormObject(ckApplication, nullptr);
  app->SetBounds(0, 0, 0, 0);
  if (Hidden) app->SetVisible(false);
  // LoadIconW hands out a shared icon: used, never destroyed.
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) app->SetIcon(icon, false);
  AppWindow = app;
  return app;
}

TFormObject* CreateForm(TWindowObject* parent, const std::string& caption) {
  auto* form = new TFormObject(ckForm, parent);
  form->SetText(caption);
  return form;
}

TPanelObject* CreatePanel(TWindowObject* parent, const TPanelData& data) { return new TPanelObject(parent, data); }

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
  edit->SetStyle(style); // no native window yet: only kept
  edit->SetWantTab((options & eoWantTab) != 0);
  edit->SetTabNavigation(!(options & eoMultiLine) || !(options & eoWantTab));
  if (options & eoMultiLine) edit->SetSize(200, 200);
  return edit;
}

void FreeWindowObject(TWindowObject* object) { delete object; }

HWND CreateTooltip() {
  if (TooltipHandle && IsWindow(TooltipHandle)) return TooltipHandle;
  InitCommonControlsOnce();
  TApplication* application = ApplicationOfLayer();
  TFormObject* app = application ? application->Window() : nullptr;
  HWND owner = app ? app->GetHandle() : nullptr;
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
