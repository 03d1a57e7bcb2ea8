// The window object: one native window, made on demand, with the state the
// elements set on it, applied to the native window once it exists.
#include <algorithm>

#include "Layer.h"
#include "Text.h"

// The per-screen resolution functions came with Windows 10 (1607): looked up,
// with the system-wide resolution where they are missing.
UINT SystemDpi() {
  static const UINT dpi = [] {
    if (auto forSystem = SystemFunction<UINT(WINAPI*)()>(User32(), "GetDpiForSystem")) return forSystem();
    HDC screen = GetDC(nullptr);
    const int logPixels = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return UINT(logPixels > 0 ? logPixels : 96);
  }();
  return dpi;
}

UINT WindowDpi(HWND hwnd) {
  static const auto forWindow = SystemFunction<UINT(WINAPI*)(HWND)>(User32(), "GetDpiForWindow");
  const UINT dpi = forWindow ? forWindow(hwnd) : 0;
  return dpi ? dpi : SystemDpi();
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto forDpi = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      User32(), "AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

TWindowObject::TWindowObject(TControlKindId kind, TWindowObject* parent)
    : OwnerForm(parent ? parent->OwnerForm : nullptr), KindId(kind), ParentObject(parent) {
  const TControlKind& k = KindOf(kind);
  Style = k.Style;
  ExStyle = k.ExStyle;
  Focusable = k.Focusable;
  TabNavigation = k.TabNavigation;
  WantTab = k.WantTab;
  Bounds = RECT{0, 0, k.DefaultWidth, k.DefaultHeight};
  Color = k.Color;
  DpiValue = parent ? parent->DpiValue : SystemDpi();
  if (parent) {
    FontData = parent->FontData; // a child starts with its parent's font
    if (k.ColorFromParent) Color = parent->Color;
    parent->ChildObjects.push_back(this);
  }
}

TWindowObject::~TWindowObject() { Release(); }

void TWindowObject::Release() {
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
    LinkObject(Handle, nullptr);
    Handle = nullptr;
  }
  if (ParentObject) {
    auto& siblings = ParentObject->ChildObjects;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  if (OwnerForm) OwnerForm->Forget(this);
  if (TApplication* app = ApplicationOfLayer()) app->Forget(this);
  if (Brush) DeleteObject(Brush);
  // Linked to nothing: a second run finds nothing to do.
  ParentObject = nullptr;
  OwnerForm = nullptr;
  Brush = nullptr;
}

void TWindowObject::ClearHandlers() {
  OnMessageHook = THookHandler();
  OnMouseDown = OnMouseUp = OnMouseMove = OnDblClick = TMouseHandler();
  OnMouseEnter = OnMouseLeave = TNotifyHandler();
  OnKeyDown = OnKeyUp = TKeyHandler();
  OnClick = OnTextChange = OnShow = OnSize = OnDestroyed = OnDpiChanged = TNotifyHandler();
  OnPaint = TPaintHandler();
}

HWND TWindowObject::GetHandle() {
  if (!Handle) CreateNative();
  return Handle;
}

void TWindowObject::CreateAll() {
  GetHandle();
  for (size_t i = 0; i < ChildObjects.size(); ++i) ChildObjects[i]->CreateAll();
}

void TWindowObject::CreateShown() {
  GetHandle();
  for (TWindowObject* child : ChildObjects)
    if (child->Visible) child->CreateShown();
}

bool TWindowObject::CreateHidden() {
  for (TWindowObject* child : ChildObjects) {
    if (!child->Handle) {
      child->CreateAll();
      return true;
    }
    if (child->CreateHidden()) return true;
  }
  return false;
}

void TWindowObject::CreateNative() {
  HWND parentHandle = ParentObject ? ParentObject->GetHandle() : nullptr;
  if (Handle) return;
  PrepareWindowClasses();
  const TControlKind& kind = KindOf(KindId);
  DWORD style = Style & ~(WS_VISIBLE | WS_DISABLED);
  if (Visible && !kind.ShownLater) style |= WS_VISIBLE;
  if (!Enabled) style |= WS_DISABLED;
  const RECT r = Scaled(Bounds);
  static UINT nextControlId = 100;
  HMENU id = nullptr;
  if (style & WS_CHILD) id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextControlId++));
  // Every control gets its font at once; a kind that lays its text out anew
  // for every font gets its text after it.
  const bool textAfterFont = kind.TextAfterFont;
  const TWideText text = WideOf(textAfterFont ? std::string() : Text);
  HWND hwnd = CreateWindowExW(ExStyle, kind.ClassName, text.data(), style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parentHandle, id,
                              GetModuleHandleW(nullptr), this);
  // Without its windows the program can show nothing and wait for nothing
  // (no display, a class the system would not register): it says so and ends.
  if (!hwnd) TApplication::Current().WindowSystemFailed(GetLastError());
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  if (textAfterFont) SetWindowTextW(hwnd, WideOf(Text).data()); // not linked yet: no change is reported for it
  if (!kind.LayerClass) {
    // System classes are subclassed; the link is made before the first
    // routed message can arrive.
    Handle = hwnd;
    LinkObject(hwnd, this);
    SavedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerWindowProc)));
  }
  if (kind.AfterCreate) kind.AfterCreate(*this);
  if (Label && Label->ParentObject == ParentObject)
    SetWindowPos(hwnd, Label->GetHandle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A top-level window made on a screen of another resolution than the
  // system's is laid out anew for it.
  if (!(style & WS_CHILD)) {
    const UINT dpi = WindowDpi(hwnd);
    if (dpi != DpiValue) {
      ChangeDpi(dpi);
      ApplyBounds();
    }
  }
  SyncBounds();
}

LRESULT TWindowObject::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (SavedProc) return CallWindowProcW(SavedProc, Handle, msg, wParam, lParam);
  return DefWindowProcW(Handle, msg, wParam, lParam);
}

// The native window's bounds in its parent's client coordinates, or the
// screen's for a top-level window.
RECT TWindowObject::NativeBounds() const {
  RECT r{};
  GetWindowRect(Handle, &r);
  if (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(HWND_DESKTOP, GetAncestor(Handle, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TWindowObject::SyncBounds() {
  if (Handle) Bounds = Unscaled(NativeBounds());
}

// A top-level window's size is its outer size on a 96-DPI screen: what is
// scaled is the client area, and the frame, which the system draws, is the
// one for the screen's resolution. Its position is scaled as it is.
SIZE TWindowObject::FrameAt(UINT dpi) const {
  // Asking the system costs more than the rest of a move: the few frames a
  // program has are remembered (Windows draws the same frame for the same
  // styles at a resolution while the program runs).
  struct TFrame {
    DWORD Style, ExStyle;
    UINT Dpi;
    SIZE Size;
  };
  static TFrame known[4];
  static size_t next = 0;
  for (const TFrame& f : known)
    if (f.Dpi == dpi && f.Style == Style && f.ExStyle == ExStyle) return f.Size;
  RECT r{0, 0, 0, 0};
  AdjustFrameForDpi(r, Style, ExStyle, dpi);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  known[next++ % 4] = TFrame{Style, ExStyle, dpi, size};
  return size;
}

RECT TWindowObject::Scaled(const RECT& units) const {
  if (Style & WS_CHILD) return RECT{Scale(units.left), Scale(units.top), Scale(units.right), Scale(units.bottom)};
  const SIZE unit = FrameAt(96), frame = FrameAt(DpiValue);
  const int32_t w = units.right - units.left, h = units.bottom - units.top; // none: the taskbar window
  const POINT at{Scale(units.left), Scale(units.top)};
  return RECT{at.x, at.y, at.x + (w > 0 ? Scale(w - unit.cx) + frame.cx : 0),
              at.y + (h > 0 ? Scale(h - unit.cy) + frame.cy : 0)};
}

RECT TWindowObject::Unscaled(const RECT& pixels) const {
  if (Style & WS_CHILD)
    return RECT{Unscale(pixels.left), Unscale(pixels.top), Unscale(pixels.right), Unscale(pixels.bottom)};
  const SIZE unit = FrameAt(96), frame = FrameAt(DpiValue);
  const int32_t w = pixels.right - pixels.left, h = pixels.bottom - pixels.top;
  const POINT at{Unscale(pixels.left), Unscale(pixels.top)};
  return RECT{at.x, at.y, at.x + (w > 0 ? Unscale(w - frame.cx) + unit.cx : 0),
              at.y + (h > 0 ? Unscale(h - frame.cy) + unit.cy : 0)};
}

// The window and everything in it, on a screen of another resolution: the
// fonts are made anew and every child is placed anew, all from the same
// units; the window itself is placed by whoever called.
void TWindowObject::ChangeDpi(UINT dpi) {
  DpiValue = dpi;
  if (Handle) {
    ApplyFont();
    if (ParentObject && (Style & WS_CHILD)) ApplyBounds();
  }
  for (TWindowObject* child : ChildObjects)
    if (child->Style & WS_CHILD) child->ChangeDpi(dpi); // forms follow their own screens
  if (OnDpiChanged) OnDpiChanged(this);
  Repaint();
}

void TWindowObject::SetText(const std::string& text) {
  Text = text;
  if (!Handle) return;
  SetWindowTextW(Handle, WideOf(Text).data());
  Repaint();
}

std::string TWindowObject::GetText() {
  if (!Handle) return Text;
  TWideText wide(size_t(GetWindowTextLengthW(Handle)) + 1, L'\0');
  const int n = GetWindowTextW(Handle, wide.data(), int(wide.size()));
  return WideToText(wide.data(), size_t(std::max(n, 0)));
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
  const RECT wanted = Scaled(Bounds);
  if (EqualRect(&now, &wanted)) return;
  SetWindowPos(Handle, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
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
  const SIZE frame = FrameAt(96);
  SetSize(width + frame.cx, height + frame.cy);
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
  if (Handle) {
    GetClientRect(Handle, &area); // no frame in it, whatever the window
    area = RECT{0, 0, Unscale(area.right), Unscale(area.bottom)};
  }
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
  const DWORD now = DWORD(GetWindowLongPtrW(Handle, GWL_STYLE));
  const DWORD live = now & (WS_VISIBLE | WS_DISABLED);
  const DWORD wanted = (style & ~(WS_VISIBLE | WS_DISABLED)) | live;
  if (wanted == now) return; // a frame change costs a whole positioning round
  SetWindowLongPtrW(Handle, GWL_STYLE, LONG_PTR(wanted));
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
  SetWindowLongPtrW(Handle, GWL_EXSTYLE, LONG_PTR(exStyle));
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
  // A page shown before the loop made its windows: made now, within its parent.
  const TApplication* app = ApplicationOfLayer();
  if (on && !Handle && (Style & WS_CHILD) && ParentObject && ParentObject->PeekHandle() && app && app->WindowsShown())
    CreateAll();
  if (Handle) Show(on);
  if (ParentObject) ParentObject->Realign();
}

// The focus never stays on a hidden control, and a page shown while its form
// holds the focus itself takes it.
void TWindowObject::Show(bool on) {
  TFormObject* form = Form();
  const bool hidesFocus = !on && FocusInside();
  ShowWindow(Handle, on ? SW_SHOW : SW_HIDE);
  if (on && form) form->PageShown();
  if (form && form->PeekHandle() && (hidesFocus || (on && GetFocus() == form->PeekHandle()))) form->RestoreFocus();
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
  TFormObject* form = Form();
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
  if (const TTextAlignStyles* styles = KindOf(KindId).TextAlign)
    SetStyle((Style & ~styles->Mask) | styles->Words[align < 3 ? align : 0]);
  Repaint();
}

void TWindowObject::SetVerticalAlign(uint8_t align) {
  VerticalAlign = align;
  Repaint();
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
  const auto setLayered = SystemFunction<TSetLayered>(User32(), "SetLayeredWindowAttributes");
  if (!setLayered) return;
  SetExStyle(ExStyle | WS_EX_LAYERED);
  setLayered(GetHandle(), 0, alpha, LWA_ALPHA);
}

void TWindowObject::ApplyFont() {
  if (Handle) SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
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
  const TApplication* app = ApplicationOfLayer();
  if (Handle && !(app && app->Terminated())) InvalidateRect(Handle, nullptr, TRUE);
}

void TWindowObject::Invalidate() { Repaint(); }

LRESULT TWindowObject::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetHandle(), msg, wParam, lParam);
}

void TWindowObject::PostClose() { PostMessageW(GetHandle(), WM_CLOSE, 0, 0); }

void TWindowObject::PostQuit() { PostMessageW(GetHandle(), WM_QUIT, 0, 0); }

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
