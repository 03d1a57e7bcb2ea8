#include "Window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "DllSearch.h"
#include "Share.h"

TWindowObject* ApplicationWindow = nullptr;

// ------------------------------------------------------------------ internals
struct TControlKind {
  const char* ClassName;
  DWORD Style;
  DWORD ExStyle;
  int32_t DefaultWidth;
  int32_t DefaultHeight;
  bool Focusable;
  bool TabNavigation;
};

namespace {

// Indexed by TControlKindId.
const TControlKind Kinds[] = {
    {"App", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW, 0, 0, false, false},
    {"Form", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 320, 240,
     true, false},
    {"STATIC", 0x5000018C, WS_EX_CONTROLPARENT, 185, 41, false, false},
    {"BUTTON", 0x50011000, 0, 75, 22, true, true},
    {"STATIC", 0x5000018C, 0, 65, 22, false, false},
    {"BUTTON", 0x56030007, WS_EX_CONTROLPARENT, 185, 105, false, false},
    {"EDIT", 0x50810000, 0, 100, 22, true, true},
    {"tooltips_class32", WS_POPUP, 0, 0, 0, false, false},
};

const DWORD ChildClipStyles = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Native handle -> window object. An entry is made when the native window is
// created and removed on WM_NCDESTROY, before the handle becomes invalid, so a
// recycled handle can never reach a freed object.
std::unordered_map<HWND, TWindowObject*> ObjectOfHandle;
// Objects alive right now: the loop and the focus bookkeeping check against it.
std::unordered_set<const TWindowObject*> LiveObjects;

bool TerminatedFlag = false;
bool LoopRunning = false;
TWindowObject* CurrentFormObject = nullptr;
HWND TooltipHandle = nullptr;
std::unordered_set<HWND> TooltipTools;
UINT NextControlId = 100;

LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The common controls are loaded here, not imported: comctl32 is no known
// library of the system, and an import would be resolved before the program
// could keep its own folder out of the search. Loaded by bare name so that the
// manifest's version 6.0 applies; never freed, the control classes live in it.
void InitCommonControlsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  using TInitCommonControlsEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE controls = LoadSystemLibrary("comctl32.dll");
  auto initControls = controls ? reinterpret_cast<TInitCommonControlsEx>(reinterpret_cast<void (*)()>(
                                     GetProcAddress(controls, "InitCommonControlsEx")))
                               : nullptr;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  if (initControls) initControls(&icc);
}

// A themed group box draws its caption in the theme's text colour and ignores
// the colour its parent hands out; without a theme it takes that colour. The
// theme library is loaded, not imported, for the same reason as comctl32.
void SwitchThemeOff(HWND hwnd) {
  using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static TSetWindowTheme setWindowTheme = [] {
    HMODULE theme = LoadSystemLibrary("uxtheme.dll");
    return theme ? reinterpret_cast<TSetWindowTheme>(
                       reinterpret_cast<void (*)()>(GetProcAddress(theme, "SetWindowTheme")))
                 : nullptr;
  }();
  // No class list of that name exists, so the window gets no theme at all.
  if (setWindowTheme) setWindowTheme(hwnd, L" ", L" ");
}

void RegisterLayerClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &LayerWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = "App";
  RegisterClassExA(&wc);
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = "Form";
  RegisterClassExA(&wc);
}

TWindowObject* ObjectOf(HWND hwnd) {
  auto it = ObjectOfHandle.find(hwnd);
  return it == ObjectOfHandle.end() ? nullptr : it->second;
}

TMouseEvent MouseEventOf(int32_t button, WPARAM wParam, LPARAM lParam) {
  TMouseEvent e;
  e.Button = button;
  e.Keys = int32_t(wParam & 0xFFFF);
  if (GetKeyState(VK_MENU) < 0) e.Keys |= 0x20;
  e.Pos = int32_t(uint32_t(lParam) & 0xFFFFFFFFu);
  return e;
}

bool IsClassWindow(TControlKindId kind) { return kind == ckApplication || kind == ckForm; }

} // namespace

// Access of the free functions below to the object's state.
struct TLayerAccess {
  static void SetTabOrderRaw(TWindowObject* o, int32_t order) { o->TabOrder = order; }
  static void SetKeyboardNavigation(TWindowObject* o) { o->KeyboardNavigation = true; }
  static void SetWantTab(TWindowObject* o, bool on) { o->WantTab = on; }
  static void SetStyleRaw(TWindowObject* o, DWORD style, DWORD exStyle) {
    o->Style = style;
    o->ExStyle = exStyle;
  }
  static void SetHandle(TWindowObject* o, HWND h) { o->Handle = h; }
  static bool Live(const TWindowObject* o) { return LiveObjects.count(o) != 0; }
};

// ------------------------------------------------------------------- colours
COLORREF ResolveColor(int32_t color) {
  if (color < 0) return GetSysColor(int(uint32_t(color) & 0xFF));
  return COLORREF(color);
}

// --------------------------------------------------------------------- fonts
TFontObject::TFontObject() {
  Log.lfHeight = -11;
  Log.lfWeight = FW_NORMAL;
  Log.lfCharSet = DEFAULT_CHARSET;
  Log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  Log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Log.lfQuality = DEFAULT_QUALITY;
  Log.lfPitchAndFamily = DEFAULT_PITCH;
  std::strcpy(Log.lfFaceName, "MS Sans Serif");
}

TFontObject::TFontObject(const TFontObject& other) : Color(other.Color), Log(other.Log) {}

TFontObject& TFontObject::operator=(const TFontObject& other) {
  if (this != &other) {
    Discard();
    Color = other.Color;
    Log = other.Log;
  }
  return *this;
}

TFontObject::~TFontObject() { Discard(); }

void TFontObject::Discard() {
  if (Handle) DeleteObject(Handle);
  Handle = nullptr;
}

void TFontObject::SetName(const std::string& name) {
  Discard();
  size_t n = std::min<size_t>(name.size(), LF_FACESIZE - 1);
  std::memcpy(Log.lfFaceName, name.data(), n);
  Log.lfFaceName[n] = '\0';
}

std::string TFontObject::GetName() const { return std::string(Log.lfFaceName); }

void TFontObject::SetHeight(int32_t height) {
  Discard();
  Log.lfHeight = height;
}

void TFontObject::SetBold(bool on) {
  Discard();
  if (on) {
    if (Log.lfWeight < FW_BOLD) Log.lfWeight = FW_BOLD;
  } else if (Log.lfWeight >= FW_BOLD) {
    Log.lfWeight = 0;
  }
}

void TFontObject::SetStyle(uint8_t style) {
  SetBold(style & 1);
  Log.lfItalic = (style & 2) ? 1 : 0;
  Log.lfUnderline = (style & 4) ? 1 : 0;
  Log.lfStrikeOut = (style & 8) ? 1 : 0;
}

uint8_t TFontObject::GetStyle() const {
  return uint8_t((Log.lfWeight >= FW_BOLD ? 1 : 0) | (Log.lfItalic ? 2 : 0) | (Log.lfUnderline ? 4 : 0) |
                 (Log.lfStrikeOut ? 8 : 0));
}

void TFontObject::SetCharset(uint8_t charset) {
  Discard();
  Log.lfCharSet = charset;
}

HFONT TFontObject::GetHandle() {
  if (!Handle) Handle = CreateFontIndirectA(&Log);
  return Handle;
}

// ------------------------------------------------------------ window object
TWindowObject::TWindowObject(TControlKindId kind, TWindowObject* parent) : KindId(kind), ParentObject(parent) {
  LiveObjects.insert(this);
  const TControlKind& k = Kinds[kind];
  Style = k.Style;
  ExStyle = k.ExStyle;
  Focusable = k.Focusable;
  TabNavigation = k.TabNavigation;
  if (!IsClassWindow(kind) && kind != ckTooltip) Style |= ChildClipStyles;
  Bounds = RECT{0, 0, k.DefaultWidth, k.DefaultHeight};
  Color = int32_t(0xFF00000F);
  if (parent) {
    FontData = parent->FontData; // a child starts with its parent's font
    Color = parent->Color;
    parent->ChildObjects.push_back(this);
  }
  if (kind == ckEdit) Color = int32_t(0xFF000005);
  if (kind == ckForm) Visible = true; // shown by the loop or ShowAndActivate, never at creation
}

TWindowObject::~TWindowObject() {
  if (OnDestroyed) OnDestroyed(this);
  OnDestroyed = TNotifyHandler();
  // Children first: their elements learn about it before this window goes.
  while (!ChildObjects.empty()) {
    TWindowObject* child = ChildObjects.back();
    delete child; // removes itself from ChildObjects
  }
  ClearHandlers();
  if (Handle) DestroyWindow(Handle);
  if (Handle) { // the window refused to go away: forget it anyway
    ObjectOfHandle.erase(Handle);
    Handle = nullptr;
  }
  if (ParentObject) {
    auto& siblings = ParentObject->ChildObjects;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (TWindowObject* o = ParentObject; o; o = o->ParentObject)
    if (o->LastFocused == this) o->LastFocused = nullptr;
  if (CurrentFormObject == this) CurrentFormObject = nullptr;
  if (ApplicationWindow == this) ApplicationWindow = nullptr;
  if (Brush) DeleteObject(Brush);
  if (Icon && IconOwned) DestroyIcon(Icon);
  LiveObjects.erase(this);
}

void TWindowObject::ClearHandlers() {
  OnMessageHook = THookHandler();
  OnMouseDown = OnMouseUp = OnMouseMove = OnDblClick = TMouseHandler();
  OnMouseEnter = OnMouseLeave = TNotifyHandler();
  OnKeyDown = OnKeyUp = TKeyHandler();
  OnClick = OnTextChange = OnShow = OnSize = OnDestroyed = TNotifyHandler();
  OnPaint = TPaintHandler();
}

TWindowObject* TWindowObject::Form() {
  TWindowObject* o = this;
  while (o && o->KindId != ckForm && o->KindId != ckApplication) o = o->ParentObject;
  return o;
}

HWND TWindowObject::GetHandle() {
  if (!Handle) CreateNative();
  return Handle;
}

void TWindowObject::CreateAll() {
  GetHandle();
  for (size_t i = 0; i < ChildObjects.size(); ++i) ChildObjects[i]->CreateAll();
}

void TWindowObject::CreateNative() {
  HWND parentHandle = ParentObject ? ParentObject->GetHandle() : nullptr;
  if (Handle) return;
  RegisterLayerClasses();
  InitCommonControlsOnce();
  const TControlKind& kind = Kinds[KindId];
  DWORD style = Style & ~(WS_VISIBLE | WS_DISABLED);
  if (Visible && KindId != ckForm) style |= WS_VISIBLE;
  if (!Enabled) style |= WS_DISABLED;
  int32_t x = Bounds.left, y = Bounds.top, w = GetWidth(), h = GetHeight();
  HMENU id = nullptr;
  if (style & WS_CHILD) id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId++));
  HWND hwnd = CreateWindowExA(ExStyle, kind.ClassName, Text.c_str(), style, x, y, w, h, parentHandle, id,
                              GetModuleHandleA(nullptr), this);
  if (!hwnd) return;
  if (!IsClassWindow(KindId)) {
    // System classes are subclassed; the map entry is made before the first
    // routed message can arrive.
    Handle = hwnd;
    ObjectOfHandle[hwnd] = this;
    SavedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerWindowProc)));
  }
  if (KindId == ckGroupBox) SwitchThemeOff(hwnd); // before its first paint
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontData.GetHandle()), FALSE);
  if (KindId == ckApplication) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
  }
  if (KindId == ckForm && !Icon && ParentObject && ParentObject->Icon) {
    Icon = CopyIcon(ParentObject->Icon);
    IconOwned = true;
  }
  if (Icon) SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
  SyncBounds();
}

LRESULT TWindowObject::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (SavedProc) return CallWindowProcA(SavedProc, Handle, msg, wParam, lParam);
  return DefWindowProcA(Handle, msg, wParam, lParam);
}

// The native window's bounds in its parent's client coordinates, or the
// screen's for a top-level window.
RECT TWindowObject::NativeBounds() const {
  RECT r{};
  GetWindowRect(Handle, &r);
  if (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(HWND_DESKTOP, GetAncestor(Handle, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TWindowObject::SyncBounds() {
  if (Handle) Bounds = NativeBounds();
}

void TWindowObject::SetText(const std::string& text) {
  Text = text;
  if (!Handle) return;
  SetWindowTextA(Handle, Text.c_str());
  Repaint();
}

std::string TWindowObject::GetText() {
  if (!Handle) return Text;
  int n = GetWindowTextLengthA(Handle);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(Handle, &s[0], n + 1);
  s.resize(size_t(std::max(n, 0)));
  return s;
}

void TWindowObject::SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  bool resized = right - left != GetWidth() || bottom - top != GetHeight();
  Bounds = RECT{left, top, right, bottom};
  if (Handle) {
    if (!BoundsHeld) ApplyBounds();
  } else if (resized) {
    // No native window to report it yet: the size handler hears it here.
    Realign();
    if (OnSize) OnSize(this);
  }
}

void TWindowObject::ReleaseBounds() {
  BoundsHeld = false;
  if (Handle) ApplyBounds();
}

void TWindowObject::ApplyBounds() {
  // Placing a window where it is still costs a whole positioning round with
  // the min/max query: left out.
  const RECT now = NativeBounds();
  if (EqualRect(&now, &Bounds)) return;
  SetWindowPos(Handle, nullptr, Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWindowObject::SetPosition(int32_t x, int32_t y) {
  SetBounds(x, y, x + GetWidth(), y + GetHeight());
}

void TWindowObject::SetSize(int32_t width, int32_t height) {
  if (width == 0) width = GetWidth();
  if (height == 0) height = GetHeight();
  SetBounds(Bounds.left, Bounds.top, Bounds.left + width, Bounds.top + height);
}

void TWindowObject::SetClientSize(int32_t width, int32_t height) {
  int32_t dx, dy;
  if (Handle) {
    RECT w, c;
    GetWindowRect(Handle, &w);
    GetClientRect(Handle, &c);
    dx = (w.right - w.left) - c.right;
    dy = (w.bottom - w.top) - c.bottom;
  } else {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
    dx = r.right - r.left;
    dy = r.bottom - r.top;
  }
  SetSize(width + dx, height + dy);
}

void TWindowObject::SetAlign(uint8_t align) {
  Align = align;
  if (ParentObject) ParentObject->Realign();
}

void TWindowObject::SetChildMargin(int32_t margin) {
  ChildMargin = margin;
  Realign();
}

// Docks the children with an alignment inside the client area, less the margin.
void TWindowObject::Realign() {
  RECT area;
  if (Handle) GetClientRect(Handle, &area);
  else area = RECT{0, 0, GetWidth(), GetHeight()};
  InflateRect(&area, -ChildMargin, -ChildMargin);
  for (TWindowObject* c : ChildObjects) {
    if (c->Align == 0 || !c->Visible) continue;
    int32_t w = c->GetWidth(), h = c->GetHeight();
    switch (c->Align) {
      case 1: c->SetBounds(area.left, area.top, area.left + w, area.bottom); area.left += w; break;
      case 2: c->SetBounds(area.left, area.top, area.right, area.top + h); area.top += h; break;
      case 3: c->SetBounds(area.right - w, area.top, area.right, area.bottom); area.right -= w; break;
      case 4: c->SetBounds(area.left, area.bottom - h, area.right, area.bottom); area.bottom -= h; break;
      default: break;
    }
  }
}

void TWindowObject::SetColor(int32_t color) {
  Color = color;
  if (Brush) DeleteObject(Brush);
  Brush = nullptr;
  Repaint();
}

HBRUSH TWindowObject::GetBrush() {
  if (!Brush) Brush = CreateSolidBrush(ResolveColor(Color));
  return Brush;
}

void TWindowObject::SetStyle(DWORD style) {
  Style = style;
  if (!Handle) return;
  const DWORD now = DWORD(GetWindowLongPtrA(Handle, GWL_STYLE));
  const DWORD live = now & (WS_VISIBLE | WS_DISABLED);
  const DWORD wanted = (style & ~(WS_VISIBLE | WS_DISABLED)) | live;
  if (wanted == now) return; // a frame change costs a whole positioning round
  SetWindowLongPtrA(Handle, GWL_STYLE, LONG_PTR(wanted));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Repaint();
}

void TWindowObject::SetExStyle(DWORD exStyle) {
  // The native window was made with ExStyle and every change comes through
  // here; the system adds bits of its own (the window edge), so the field,
  // not the native value, tells whether anything changes.
  if (Handle && exStyle == ExStyle) return;
  ExStyle = exStyle;
  if (!Handle) return;
  SetWindowLongPtrA(Handle, GWL_EXSTYLE, LONG_PTR(exStyle));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Repaint();
}

void TWindowObject::SetCtl3D(bool on) {
  if (on == Ctl3D) return;
  Ctl3D = on;
  if (on) {
    SetStyle(Style & ~DWORD(WS_BORDER));
    SetExStyle(ExStyle | WS_EX_CLIENTEDGE);
  } else {
    SetStyle(Style | WS_BORDER);
    SetExStyle(ExStyle & ~DWORD(WS_EX_CLIENTEDGE));
  }
}

void TWindowObject::SetTransparent(bool on) {
  Transparent = on;
  // The parent must not clip its transparent children away when it paints.
  if (on && ParentObject) ParentObject->SetStyle(ParentObject->Style & ~DWORD(WS_CLIPCHILDREN));
  Repaint();
}

void TWindowObject::SetEnabled(bool on) {
  Enabled = on;
  if (Handle) EnableWindow(Handle, on);
}

void TWindowObject::SetVisible(bool on) {
  Visible = on;
  if (Handle && !IsClassWindow(KindId)) {
    // The focus never stays on a hidden control, and a page shown while its
    // form holds the focus itself takes it.
    TWindowObject* form = Form();
    const bool hidesFocus = !on && FocusInside();
    ShowWindow(Handle, on ? SW_SHOW : SW_HIDE);
    if (form && form->Handle && (hidesFocus || (on && GetFocus() == form->Handle))) form->RestoreFocus();
  } else if (Handle) {
    ShowWindow(Handle, on ? SW_SHOW : SW_HIDE);
  }
  if (ParentObject) ParentObject->Realign();
}

void TWindowObject::ShowAndActivate() {
  Visible = true;
  GetHandle();
  if (!Handle) return;
  ShowWindow(Handle, SW_SHOW);
  SetForegroundWindow(Handle);
  if (Focusable && IsWindowEnabled(Handle)) SetFocus(Handle);
}

void TWindowObject::SetCursor(uintptr_t cursor) { Cursor = cursor; }

void TWindowObject::SetTabOrder(int32_t order) {
  TWindowObject* form = Form();
  if (form)
    for (TWindowObject* c : form->Controls())
      if (c != this && c->TabOrder >= order) ++c->TabOrder;
  TabOrder = order;
}

void TWindowObject::SetFocusable(bool on) {
  Focusable = on;
  if (!on) SetStyle(Style & ~DWORD(WS_TABSTOP));
}

void TWindowObject::SetTextAlign(uint8_t align) {
  TextAlign = align;
  if (KindId == ckLabel) {
    // Any alignment word also drops SS_LEFTNOWORDWRAP: an aligned label wraps.
    static const DWORD words[3] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    SetStyle((Style & ~DWORD(0x0F)) | words[align < 3 ? align : 0]);
  }
  Repaint();
}

void TWindowObject::SetVerticalAlign(uint8_t align) {
  VerticalAlign = align;
  Repaint();
}

void TWindowObject::SetIcon(HICON icon, bool owned) {
  HICON old = Icon;
  bool oldOwned = IconOwned;
  Icon = icon;
  IconOwned = owned;
  if (Handle) SendMessageA(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (old && old != icon && oldOwned) DestroyIcon(old);
}

void TWindowObject::SetWindowState(uint8_t state) {
  static const int commands[3] = {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
  if (state > 2) return;
  ShowWindow(GetHandle(), commands[state]);
}

void TWindowObject::SetAlpha(uint8_t alpha) {
  if (alpha == 255) {
    SetExStyle(ExStyle & ~DWORD(WS_EX_LAYERED));
    return;
  }
  using TSetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  auto setLayered = reinterpret_cast<TSetLayered>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
  if (!setLayered) return;
  SetExStyle(ExStyle | WS_EX_LAYERED);
  setLayered(GetHandle(), 0, alpha, LWA_ALPHA);
}

void TWindowObject::ApplyFont() {
  if (Handle) SendMessageA(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontData.GetHandle()), TRUE);
}

void TWindowObject::FontChanged() {
  ApplyFont();
  Repaint();
}

void TWindowObject::SetFontName(const std::string& name) {
  FontData.SetName(name);
  FontChanged();
}

void TWindowObject::SetFontHeight(int32_t height) {
  FontData.SetHeight(height);
  FontChanged();
}

void TWindowObject::SetFontStyle(uint8_t style) {
  FontData.SetStyle(style);
  FontChanged();
}

void TWindowObject::SetFontColor(int32_t color) {
  FontData.SetColor(color);
  Repaint();
}

void TWindowObject::SetFontCharset(uint8_t charset) {
  FontData.SetCharset(charset);
  FontChanged();
}

const TFontObject& TWindowObject::GetParentFont() const {
  return ParentObject ? ParentObject->FontData : FontData;
}

void TWindowObject::AssignFont(const TFontObject& font) {
  if (&font == &FontData) return;
  FontData = font;
  FontChanged();
}

void TWindowObject::Repaint() {
  if (Handle && !TerminatedFlag) InvalidateRect(Handle, nullptr, TRUE);
}

void TWindowObject::Invalidate() { Repaint(); }

LRESULT TWindowObject::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(GetHandle(), msg, wParam, lParam);
}

void TWindowObject::PostClose() { PostMessageA(GetHandle(), WM_CLOSE, 0, 0); }

void TWindowObject::PostQuit() { PostMessageA(GetHandle(), WM_QUIT, 0, 0); }

LRESULT TWindowObject::ControlColor(HDC dc) {
  SetTextColor(dc, ResolveColor(FontData.GetColor()));
  if (Transparent) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ResolveColor(Color));
  return reinterpret_cast<LRESULT>(GetBrush());
}

LRESULT TWindowObject::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (OnMessageHook) {
    TMessage m{msg, wParam, lParam, 0};
    if (OnMessageHook(this, m)) return m.Result;
  }
  switch (msg) {
    case WM_MOUSEMOVE:
      if ((OnMouseEnter || OnMouseLeave) && !MouseInside) {
        MouseInside = true;
        TRACKMOUSEEVENT t{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle, 0};
        TrackMouseEvent(&t);
        if (OnMouseEnter) OnMouseEnter(this);
      }
      if (OnMouseMove) OnMouseMove(this, MouseEventOf(0, wParam, lParam));
      break;
    case WM_MOUSELEAVE:
      MouseInside = false;
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (OnMouseDown)
        OnMouseDown(this, MouseEventOf(msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 3, wParam, lParam));
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (OnMouseUp)
        OnMouseUp(this, MouseEventOf(msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 3, wParam, lParam));
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (OnDblClick)
        OnDblClick(this, MouseEventOf(msg == WM_LBUTTONDBLCLK ? 1 : msg == WM_RBUTTONDBLCLK ? 2 : 3, wParam, lParam));
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      if (HandleKey(msg, wParam)) return 0;
      break;
    case WM_COMMAND:
      // Notifications go to the control they concern.
      if (lParam) {
        TWindowObject* child = ObjectOf(reinterpret_cast<HWND>(lParam));
        if (child) {
          WORD code = HIWORD(wParam);
          if ((child->KindId == ckButton && code == BN_CLICKED) ||
              ((child->KindId == ckLabel || child->KindId == ckPanel) && code == STN_CLICKED)) {
            if (child->OnClick) child->OnClick(child);
          } else if (child->KindId == ckEdit && code == EN_CHANGE) {
            if (child->OnTextChange) child->OnTextChange(child);
          }
          return 0;
        }
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      TWindowObject* child = ObjectOf(reinterpret_cast<HWND>(lParam));
      if (child) return child->ControlColor(reinterpret_cast<HDC>(wParam));
      break;
    }
    case WM_PAINT:
      if (OnPaint) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle, &ps);
        OnPaint(this, dc);
        EndPaint(Handle, &ps);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (OnPaint) {
        OnPaint(this, reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (OnPaint && KindId != ckForm) return 1; // the paint handler covers everything
      // A group box draws only its frame and caption; its parents clip it
      // away, so nothing else paints the inside unless it does so itself.
      if (KindId == ckForm || KindId == ckGroupBox) {
        if (!Transparent) {
          RECT r;
          GetClientRect(Handle, &r);
          FillRect(reinterpret_cast<HDC>(wParam), &r, GetBrush());
        }
        return 1;
      }
      break;
    case WM_SETCURSOR:
      if (Cursor && LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle) {
        ::SetCursor(reinterpret_cast<HCURSOR>(Cursor));
        return TRUE;
      }
      break;
    case WM_SETFOCUS:
      if (KindId == ckForm) {
        CurrentFormObject = this;
        RestoreFocus();
        return 0;
      }
      if (TWindowObject* form = Form()) {
        form->LastFocused = this;
        if (form->KindId == ckForm) CurrentFormObject = form;
        form->ShowDefaultLook(this);
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_SHOWWINDOW) && OnShow) OnShow(this);
      return r;
    }
    case WM_MOVE:
      SyncBounds();
      break;
    case WM_SIZE:
      SyncBounds();
      Realign();
      if (OnSize) OnSize(this);
      break;
    case WM_SETFONT:
      if (IsClassWindow(KindId)) return 0; // the font object is the form's font
      break;
    case WM_GETFONT:
      if (IsClassWindow(KindId)) return reinterpret_cast<LRESULT>(FontData.GetHandle());
      break;
    case WM_CLOSE:
      if (IsClassWindow(KindId)) {
        bool mainWindow = KindId == ckApplication ||
                          (ParentObject && ParentObject->KindId == ckApplication &&
                           !ParentObject->ChildObjects.empty() && ParentObject->ChildObjects.front() == this);
        if (mainWindow) {
          TWindowObject* app = KindId == ckApplication ? this : ParentObject;
          for (TWindowObject* f : app->ChildObjects)
            if (f->Handle) ShowWindow(f->Handle, SW_HIDE);
          if (app->Handle) ShowWindow(app->Handle, SW_HIDE);
          PostQuitMessage(0);
        } else {
          SetVisible(false);
        }
        return 0;
      }
      break;
    case WM_ENDSESSION:
      if (IsClassWindow(KindId) && wParam) {
        if (ApplicationWindow) FreeWindowObject(ApplicationWindow);
        ExitProcess(0);
      }
      break;
    case WM_NCDESTROY: {
      // The handle dies here: unlink it first, so nothing routes to this object
      // through a handle that the system may hand out again.
      HWND hwnd = Handle;
      ObjectOfHandle.erase(hwnd);
      TooltipTools.erase(hwnd);
      WNDPROC saved = SavedProc;
      Handle = nullptr;
      SavedProc = nullptr;
      if (saved) return CallWindowProcA(saved, hwnd, msg, wParam, lParam);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

namespace {

LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowObject* object = ObjectOf(hwnd);
  if (!object && msg == WM_NCCREATE) {
    // Class windows: linked as soon as the handle exists, before the messages
    // that creation sends on.
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    object = static_cast<TWindowObject*>(cs->lpCreateParams);
    if (object) {
      ObjectOfHandle[hwnd] = object;
      TLayerAccess::SetHandle(object, hwnd);
    }
  }
  if (!object) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return object->Dispatch(msg, wParam, lParam);
}

} // namespace

// ---------------------------------------------------------------- creation
namespace {

uintptr_t MainWindowOfLayer();

TWindowObject* MakeControl(TControlKindId kind, TWindowObject* parent, const std::string& text) {
  auto* object = new TWindowObject(kind, parent);
  if (!text.empty()) object->SetText(text);
  return object;
}

} // namespace

TWindowObject* CreateApplicationWindow() {
  if (ApplicationWindow) return ApplicationWindow;
  InitCommonControlsOnce();
  auto* app = new TWindowObject(ckApplication, nullptr);
  app->SetBounds(0, 0, 0, 0);
  // LoadIconA hands out a shared icon: used, never destroyed.
  if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON")) app->SetIcon(icon, false);
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
  DWORD style = edit->GetStyle();
  if (!(options & eoNoHScroll)) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (!(options & eoNoVScroll)) style |= WS_VSCROLL | ES_AUTOVSCROLL;
  if (options & eoLowerCase) style |= ES_LOWERCASE;
  if (options & eoMultiLine) style |= ES_MULTILINE;
  if (options & eoNoHideSel) style |= ES_NOHIDESEL;
  if (options & eoOemConvert) style |= ES_OEMCONVERT;
  if (options & eoPassword) style |= ES_PASSWORD;
  if (options & eoReadOnly) style |= ES_READONLY;
  if (options & eoUpperCase) style |= ES_UPPERCASE;
  if (options & eoWantReturn) style |= ES_WANTRETURN;
  if (options & eoNumber) style |= ES_NUMBER;
  if (!(options & eoMultiLine)) style &= ~DWORD(WS_HSCROLL | WS_VSCROLL);
  TLayerAccess::SetStyleRaw(edit, style, edit->GetExStyle());
  TLayerAccess::SetWantTab(edit, (options & eoWantTab) != 0);
  edit->SetTabNavigation(!(options & eoMultiLine) || !(options & eoWantTab));
  if (options & eoMultiLine) edit->SetSize(200, 200);
  return edit;
}

void FreeWindowObject(TWindowObject* object) {
  if (object && TLayerAccess::Live(object)) delete object;
}

// --------------------------------------------------------------- tooltips
HWND CreateTooltip() {
  if (TooltipHandle && IsWindow(TooltipHandle)) return TooltipHandle;
  InitCommonControlsOnce();
  HWND owner = ApplicationWindow ? ApplicationWindow->GetHandle() : nullptr;
  TooltipHandle = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  if (TooltipHandle)
    SetWindowPos(TooltipHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TooltipTools.clear();
  return TooltipHandle;
}

void SetTooltipText(TWindowObject* window, const std::string& text) {
  HWND tip = CreateTooltip();
  HWND hwnd = window->GetHandle();
  if (!tip || !hwnd) return;
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE; // accepted by every common-controls version
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd;
  ti.uId = 1;
  GetClientRect(hwnd, &ti.rect);
  ti.lpszText = const_cast<char*>(text.c_str());
  if (TooltipTools.insert(hwnd).second) SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  else SendMessageA(tip, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti));
}

void EnableKeyboardNavigation(TWindowObject* window) {
  TWindowObject* form = window ? window->Form() : nullptr;
  if (form) TLayerAccess::SetKeyboardNavigation(form);
}

TWindowObject* CurrentForm() { return CurrentFormObject; }

// ------------------------------------------------------------ message loop
void ShowApplicationWindows(TWindowObject* app) {
  if (!app) return;
  app->CreateAll();
  if (!app->GetVisible()) ShowWindow(app->PeekHandle(), SW_HIDE);
  for (TWindowObject* form : app->Children())
    if (form->Kind() == ckForm && form->GetVisible() && form->PeekHandle()) ShowWindow(form->PeekHandle(), SW_SHOW);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      TerminatedFlag = true; // the rest of the queue is still dispatched
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool Terminated() { return TerminatedFlag; }

void ResetTerminated() { TerminatedFlag = false; }

void RunMessageLoop(TWindowObject*& applicationWindow) {
  LoopRunning = true;
  // The loop keeps its own reference: an accepted close forgets the global one.
  TWindowObject* app = applicationWindow;
  ApplicationWindow = app;
  ShowApplicationWindows(app);
  while (!TerminatedFlag) {
    WaitMessage();
    ProcessMessages();
  }
  TerminatedFlag = true;
  LoopRunning = false;
  applicationWindow = nullptr;
  ApplicationWindow = nullptr;
  FreeWindowObject(app);
}

void FatalWindowError(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONHAND | MB_TASKMODAL);
  ExitProcess(1);
}

// MainWindowHandle: none without an application window; else the current
// form, else the application window's first child.
namespace {
uintptr_t MainWindowOfLayer() {
  if (!ApplicationWindow) return 0;
  if (CurrentFormObject && LiveObjects.count(CurrentFormObject) && CurrentFormObject->PeekHandle())
    return reinterpret_cast<uintptr_t>(CurrentFormObject->PeekHandle());
  if (ApplicationWindow->Children().empty()) return 0;
  return reinterpret_cast<uintptr_t>(ApplicationWindow->Children().front()->GetHandle());
}
} // namespace
