// The window-system layer: one TWindowObject per native window, created on
// demand, with the control kinds, colours, fonts, event routing, keyboard
// navigation, and the application with its message loop, that the window
// elements rely on. What one kind does differently is a row of the kind
// table; what one kind keeps is a record its own class holds (a form's
// TFormState, a panel's TPanelData). Its units: Window.cpp the object,
// Form.cpp forms, Font.cpp colours and fonts, Controls.cpp the kind table and
// the factories, Keyboard.cpp keyboard navigation, Dispatch.cpp message
// routing, Accessible.cpp what screen readers are told, Application.cpp the
// application and its loop. Sizes are in the units of a 96-DPI screen, scaled per window.
// Texts are UTF-8 here as in the whole runtime (Text.h); the layer hands them
// to Windows' wide functions.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TWindowObject;
class TFormObject;

// ------------------------------------------------------------------ handlers
// A (method, object) pair; empty when not attached.
template <class R, class... A> struct THandler {
  R (*Method)(void* object, A... args) = nullptr;
  void* Object = nullptr;
  explicit operator bool() const { return Method != nullptr; }
  R operator()(A... args) const { return Method(Object, args...); }
};

// One window message as the hook sees it; Result is returned when handled.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Button: 1 left, 2 right, 3 middle, 0 for moves. Keys: the MK_ flags, plus
// 0x20 while Alt is held. Pos: x in the low 16 bits, y in the high 16 bits.
struct TMouseEvent {
  int32_t Button = 0;
  int32_t Keys = 0;
  int32_t Pos = 0;
};

// Shift state handed to key handlers.
enum : uint32_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

using THookHandler = THandler<bool, TWindowObject*, TMessage&>;
using TNotifyHandler = THandler<void, TWindowObject*>;
using TMouseHandler = THandler<void, TWindowObject*, const TMouseEvent&>;
using TKeyHandler = THandler<void, TWindowObject*, uint16_t&, uint32_t>; // key 0 swallows the message
using TPaintHandler = THandler<void, TWindowObject*, HDC>;

namespace platform_detail {
template <class M> struct MemberTraits;
template <class C, class R, class... A> struct MemberTraits<R (C::*)(A...)> {
  using Class = C;
  using Handler = THandler<R, A...>;
  template <R (C::*M)(A...)> static R Call(void* object, A... args) {
    return (static_cast<C*>(object)->*M)(args...);
  }
};
} // namespace platform_detail

// MakeHandler<&TOMWin::MouseDown>(this): binds a member (virtual ones dispatch
// as usual) to the handler type that matches its signature.
template <auto M>
auto MakeHandler(typename platform_detail::MemberTraits<decltype(M)>::Class* object) {
  using T = platform_detail::MemberTraits<decltype(M)>;
  return typename T::Handler{&T::template Call<M>, object};
}

// ------------------------------------------------------------------- colours
// >= 0: 0x00BBGGRR; negative: GetSysColor(value & 0xFF).
COLORREF ResolveColor(int32_t color);

// --------------------------------------------------------------------- fonts
class TFontObject {
public:
  TFontObject();
  TFontObject(const TFontObject& other);
  TFontObject& operator=(const TFontObject& other);
  ~TFontObject();

  void SetName(const std::string& name); // at most 31 UTF-16 units are kept
  std::string GetName() const;
  void SetHeight(int32_t height);
  int32_t GetHeight() const { return Log.lfHeight; }
  void SetStyle(uint8_t style); // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  uint8_t GetStyle() const;
  void SetBold(bool on);
  void SetCharset(uint8_t charset);
  // Pixels taken off the scaled cell height, for a text that must keep its
  // lines in a scaled rectangle (fonts do not scale exactly).
  void SetTrim(int32_t pixels);
  int32_t GetTrim() const { return Trim; }
  void SetColor(int32_t color) { Color = color; }
  int32_t GetColor() const { return Color; }
  const LOGFONTW& GetLog() const { return Log; }
  // The font for a screen of this many dots per inch: the cell height is
  // scaled from 96. Created on first use, discarded when a field or the
  // resolution changes.
  HFONT GetHandle(UINT dpi);

private:
  void Discard();
  int32_t Color = 0;
  LOGFONTW Log{};
  int32_t Trim = 0;
  HFONT Handle = nullptr;
  UINT HandleDpi = 0;
};

// -------------------------------------------------------------- control kinds
enum TControlKindId : uint8_t { ckApplication, ckForm, ckPanel, ckButton, ckLabel, ckGroupBox, ckEdit, ckTooltip };

// The panel's bevel data, read by the panel element's painting; the panel
// object holds it.
struct TPanelData {
  uint8_t BevelOuter = 0;
  uint8_t BevelInner = 0;
  uint16_t BevelWidth = 0;
  uint16_t BorderWidth = 0;
  uint8_t BorderStyle = 0;
};

// Edit options (CreateEdit).
enum : uint16_t {
  eoNoHScroll = 1 << 0,
  eoNoVScroll = 1 << 1,
  eoLowerCase = 1 << 2,
  eoMultiLine = 1 << 3,
  eoNoHideSel = 1 << 4,
  eoOemConvert = 1 << 5,
  eoPassword = 1 << 6,
  eoReadOnly = 1 << 7,
  eoUpperCase = 1 << 8,
  eoWantReturn = 1 << 9,
  eoWantTab = 1 << 10,
  eoNumber = 1 << 11,
};

// ------------------------------------------------------------ window object
// A control, and what every window is. Forms and the application window are
// TFormObjects and panels TPanelObjects, each made by its factory below.
class TWindowObject {
public:
  TWindowObject(TControlKindId kind, TWindowObject* parent);
  TWindowObject(const TWindowObject&) = delete;
  TWindowObject& operator=(const TWindowObject&) = delete;
  virtual ~TWindowObject(); // frees the children first, then the native window

  TControlKindId Kind() const { return KindId; }
  TWindowObject* Parent() const { return ParentObject; }
  const std::vector<TWindowObject*>& Children() const { return ChildObjects; }
  // The form (or application window) that holds this object; a form is its own.
  TFormObject* Form() const { return OwnerForm; }

  HWND GetHandle();               // creates the native window (parents first)
  HWND PeekHandle() const { return Handle; } // without creating
  void CreateAll();               // this window and every descendant
  void CreateShown();             // this window and every descendant not hidden, nor inside a hidden one
  // The first hidden child (or descendant) whose windows are not made yet,
  // made with all of its own; false when there is none.
  bool CreateHidden();

  // Positions, sizes and font heights are given and read in the units of a
  // 96-DPI screen; the native window gets them scaled to the resolution of
  // the screen it is on, rounded as Windows dialogs round. Code that reads
  // native sizes or draws converts with these.
  UINT Dpi() const { return DpiValue; }
  int32_t Scale(int32_t units) const { return MulDiv(units, int(DpiValue), 96); }
  int32_t Unscale(int32_t pixels) const { return MulDiv(pixels, 96, int(DpiValue)); }
  // In units, rounded up: room for a measured text is never less than the text.
  int32_t UnscaleUp(int32_t pixels) const { return int32_t((int64_t(pixels) * 96 + DpiValue - 1) / DpiValue); }
  HFONT FontHandle() { return FontData.GetHandle(DpiValue); }

  void SetText(const std::string& text);
  std::string GetText();

  void SetPosition(int32_t x, int32_t y);
  void SetSize(int32_t width, int32_t height); // 0 keeps that dimension
  void SetBounds(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetClientSize(int32_t width, int32_t height);
  // Bounds set between HoldBounds and ReleaseBounds reach the native window
  // in one move at the release: every move of a top-level window costs a
  // whole positioning round.
  void HoldBounds() { BoundsHeld = true; }
  void ReleaseBounds();
  int32_t GetLeft() const { return Bounds.left; }
  int32_t GetTop() const { return Bounds.top; }
  int32_t GetWidth() const { return Bounds.right - Bounds.left; }
  int32_t GetHeight() const { return Bounds.bottom - Bounds.top; }
  void SetAlign(uint8_t align);
  uint8_t GetAlign() const { return Align; }
  void SetChildMargin(int32_t margin);

  void SetColor(int32_t color);
  int32_t GetColor() const { return Color; }
  HBRUSH GetBrush(); // background brush, created lazily from the resolved colour

  void SetCtl3D(bool on);
  bool GetCtl3D() const { return Ctl3D; }
  void SetTransparent(bool on);
  bool GetTransparent() const { return Transparent; }
  void SetEnabled(bool on);
  bool GetEnabled() const { return Enabled; }
  void SetVisible(bool on);
  bool GetVisible() const { return Visible; }
  void ShowAndActivate();
  void SetCursor(uintptr_t cursor);

  void SetTabOrder(int32_t order);
  int32_t GetTabOrder() const { return TabOrder; }
  void SetFocusable(bool on);
  bool GetFocusable() const { return Focusable; }
  void SetTabNavigation(bool on) { TabNavigation = on; }
  bool GetTabNavigation() const { return TabNavigation; }
  // A typed Tab reaches the window (an edit that takes tabs) instead of being swallowed.
  void SetWantTab(bool on) { WantTab = on; }
  // Push buttons: with keyboard navigation on, Enter presses the shown,
  // enabled default button of the form (drawn as such while no other button
  // has the focus) and Escape the shown, enabled cancel button.
  void SetDefaultButton(bool on);
  bool GetDefaultButton() const { return DefaultButton; }
  void SetCancelButton(bool on) { CancelButton = on; }
  bool GetCancelButton() const { return CancelButton; }

  void SetStyle(DWORD style);
  DWORD GetStyle() const { return Style; }
  void SetExStyle(DWORD exStyle);
  DWORD GetExStyle() const { return ExStyle; }

  void SetTextAlign(uint8_t align);     // 0 left, 1 right, 2 centre
  uint8_t GetTextAlign() const { return TextAlign; }
  void SetVerticalAlign(uint8_t align); // 0 centre, 1 top, 2 bottom
  uint8_t GetVerticalAlign() const { return VerticalAlign; }

  void SetWindowState(uint8_t state);
  void SetAlpha(uint8_t alpha);

  // Font: changes are applied to the native window at once.
  TFontObject& Font() { return FontData; }
  void FontChanged(); // call after changing Font() directly
  void SetFontName(const std::string& name);
  void SetFontHeight(int32_t height);
  void SetFontStyle(uint8_t style);
  void SetFontColor(int32_t color);
  void SetFontCharset(uint8_t charset);
  const TFontObject& GetParentFont() const;
  void AssignFont(const TFontObject& font);

  // What a screen reader says for this window. A control named by a label
  // beside it is placed right after the label in the z-order, where screen
  // readers look for a control's label; named by any other window (a group
  // box it sits in), or by words only a picture shows, it answers its name
  // itself. Role 0 keeps the role the system gives.
  void SetLabel(TWindowObject* label);
  void SetAccessibleName(const std::string& name, LONG role = 0);
  std::string AccessibleName();

  void Invalidate();
  // A message sent as to a wide window: a text it carries is UTF-16.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  void PostClose();
  void PostQuit();

  // Event attachment: a (method, object) pair each; empty = not attached.
  THookHandler OnMessageHook;
  TMouseHandler OnMouseDown, OnMouseUp, OnMouseMove, OnDblClick;
  TNotifyHandler OnMouseEnter, OnMouseLeave;
  TKeyHandler OnKeyDown, OnKeyUp;
  TNotifyHandler OnClick, OnTextChange, OnShow, OnSize, OnDestroyed;
  TNotifyHandler OnDpiChanged; // the window moved to a screen of another resolution
  TPaintHandler OnPaint;
  void ClearHandlers(); // an element going away detaches everything it attached

  // Routing entry of the layer's window procedure.
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
  // What the destructor does, run by the destructor of a class with a record
  // of its own while the record still lives: the children going away, and
  // the native window's last messages, may still read it. The base
  // destructor runs it again and finds nothing left to do.
  void Release();
  // Shows or hides the native window, which exists.
  virtual void Show(bool on);

  TFormObject* OwnerForm; // a plain link; the form's own class points it at itself

private:
  friend struct TMessageHandlers; // the handler of each message (Dispatch.cpp)

  void CreateNative();
  void ChangeDpi(UINT dpi);
  SIZE FrameAt(UINT dpi) const;
  RECT Scaled(const RECT& units) const;
  RECT Unscaled(const RECT& pixels) const;
  LRESULT AccessibleObject(WPARAM wParam, LPARAM lParam);
  void ApplyFont();
  void SyncBounds();
  void Realign();
  RECT NativeBounds() const;
  void ApplyBounds();
  bool HandleKey(UINT msg, WPARAM& wParam);
  bool Navigate(bool backwards);
  bool FocusInside() const;
  void ShowDefaultLook();
  void SetDefaultLook(bool on);
  void Press();
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ControlColor(HDC dc);
  void Repaint();

  TControlKindId KindId;
  TWindowObject* ParentObject;
  std::vector<TWindowObject*> ChildObjects;
  HWND Handle = nullptr;
  WNDPROC SavedProc = nullptr; // the system class procedure of a subclassed control

  DWORD Style = 0;
  DWORD ExStyle = 0;
  RECT Bounds{};
  bool BoundsHeld = false;
  std::string Text;
  int32_t Color = 0;
  HBRUSH Brush = nullptr;
  TFontObject FontData;
  bool Ctl3D = false;
  bool Visible = true;
  bool Enabled = true;
  bool Focusable = false;
  bool TabNavigation = false;
  bool DefaultButton = false;
  bool CancelButton = false;
  int32_t TabOrder = 0; // 0: none set, reading order applies
  bool Transparent = false;
  bool WantTab = false;
  uint8_t TextAlign = 0;
  uint8_t VerticalAlign = 0;
  uint8_t Align = 0;
  int32_t ChildMargin = 0;
  uintptr_t Cursor = 0;
  bool MouseInside = false;
  UINT DpiValue = 96;
  TWindowObject* Label = nullptr; // names this control
  std::string Name;               // or this does
  LONG Role = 0;
};

// ---------------------------------------------------------------------- forms
// What a form keeps beyond what every window has; the application window
// keeps its icon here too.
struct TFormState {
  HICON Icon = nullptr;
  bool IconOwned = false;
  TWindowObject* LastFocused = nullptr; // the control to give the focus back to
  bool KeyboardNavigation = false;      // Tab, Enter and Escape act on the controls
  bool PageShown = false;               // a window inside was shown, at PageShownAt
  DWORD PageShownAt = 0;
};

// A form or the application window: a top-level window of the layer's own
// class, and the form of the controls inside it.
class TFormObject : public TWindowObject {
public:
  TFormObject(TControlKindId kind, TWindowObject* parent);
  ~TFormObject() override;

  // Takes the icon over (or, not owned, only uses it: its owner outlives this
  // window); the previous one is destroyed if it was owned.
  void SetIcon(HICON icon, bool owned = true);
  HICON GetIcon() const { return State.Icon; }
  // Once the native window exists: a form without an icon of its own shows a
  // copy of its parent's.
  void ShowIcon();

  // The controls in creation order, nested forms left out.
  std::vector<TWindowObject*> Controls();
  // The controls a person reaches with Tab right now (made, shown, enabled,
  // focusable), in tab order: the tab order set, then reading order.
  std::vector<TWindowObject*> TabSequence();
  // Where the focus goes when no control of the form has it: the shown
  // default button, else the first control in tab order.
  TWindowObject* FocusTarget();
  // The shown, enabled push button that Enter, or Escape, presses; or none.
  TWindowObject* ShownDefaultButton();
  TWindowObject* ShownCancelButton();

  // The focus back to the control that had it last, if a person can still
  // reach it, else to the focus target; the form keeps it without one.
  void RestoreFocus();
  void SetLastFocused(TWindowObject* control) { State.LastFocused = control; }
  void Forget(TWindowObject* window); // a window going away

  void SetKeyboardNavigation(bool on) { State.KeyboardNavigation = on; }
  bool GetKeyboardNavigation() const { return State.KeyboardNavigation; }

  // A window inside was shown now (a new page).
  void PageShown();
  // Whether a mouse press made at this message time comes within the
  // system's double-click time of a window of the form being shown (a new
  // page): the second press of a double-click on the page before, which
  // presses nothing on this one.
  bool PressTooSoon(DWORD messageTime) const;

protected:
  void Show(bool on) override;

private:
  TFormState State;
};

// ---------------------------------------------------------------------- panels
// A panel: a static control that its element paints, bevels and all.
class TPanelObject : public TWindowObject {
public:
  TPanelObject(TWindowObject* parent, const TPanelData& data) : TWindowObject(ckPanel, parent), Data(data) {}
  ~TPanelObject() override { Release(); }
  const TPanelData& PanelData() const { return Data; }

private:
  TPanelData Data;
};

// ---------------------------------------------------------------- creation
// Every object is owned by its parent; the application window by the element
// that asked for it, or else by the application (TApplication below), whose
// loop frees it at its end. FreeWindowObject frees one early.
TFormObject* CreateForm(TWindowObject* parent, const std::string& caption);
TPanelObject* CreatePanel(TWindowObject* parent, const TPanelData& data);
TWindowObject* CreateButton(TWindowObject* parent, const std::string& caption);
TWindowObject* CreateLabel(TWindowObject* parent, const std::string& text);
TWindowObject* CreateGroupBox(TWindowObject* parent, const std::string& caption);
TWindowObject* CreateEdit(TWindowObject* parent, uint16_t options);
void FreeWindowObject(TWindowObject* object);

// Tooltips: one tooltip window per program, created on first use.
HWND CreateTooltip();
void SetTooltipText(TWindowObject* window, const std::string& text);

// Tab and Shift+Tab between the controls of the form that holds the object,
// Enter for its default button and Escape for its cancel button.
void EnableKeyboardNavigation(TWindowObject* window);

// The resolution of the system's screen, in dots per inch: where top-level
// windows are made.
UINT SystemDpi();

// ---------------------------------------------------------------- application
// What the program tells the layer for the two moments the layer ends the
// process itself, and the work it may do while waiting; the layer knows
// nothing else of the program.
struct TApplicationTerms {
  // Windows ends the session: the code the process ends with now (0 when
  // none is given).
  THandler<uint32_t> SessionEndCode;
  // The window system fails: a box with this caption and this text, which
  // the system's error code and its words follow, then the end with this
  // code. The texts are the program's own, kept as long as it runs.
  const char* FailureCaption = "";
  const char* FailureText = "";
  uint32_t FailureCode = 3;
  // Work for the time the loop waits for the person: one short slice a
  // call, made only while no message waits, until it returns false.
  THandler<bool> IdleWork;
};

// The application: its window (the taskbar's, the owner of every form), the
// form that has the keyboard focus, the message loop and its end. The
// program's entry makes it before any window and frees it last; one lives at
// a time, and the layer and the main form reach it as Current().
class TApplication {
public:
  explicit TApplication(TApplicationTerms terms = {});
  ~TApplication(); // frees the application window, if it is still there
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  static TApplication& Current();

  // The application window: made once, by the first main form; none before,
  // and none once the program's end has begun (the loop still frees it).
  TFormObject* Window() const { return AppWindow; }
  TFormObject* CreateApplicationWindow();
  // For a run that shows nothing, asked before the first form is made: the
  // application window is made hidden, so that no taskbar button shows either.
  void KeepWindowHidden() { Hidden = true; }
  // The form that last received the keyboard focus, or none.
  TFormObject* CurrentForm() const { return FocusedForm; }

  // Shows the application window and its forms, then dispatches every
  // message until a quit message; afterwards frees the application window
  // with all its forms and controls.
  void RunMessageLoop();
  // What the loop does before it waits for the first message, on its own:
  // creates the native windows a person sees and shows the visible forms.
  // The hidden ones (pages not reached yet) are made in the loop's first
  // idle moments, or at once when one is shown before.
  void ShowWindows();
  // The hidden windows not made yet, one child at a time: true while some
  // are left. The loop's own idle work, before the program's.
  bool CreateHiddenWindows();
  // Whether the loop has shown the windows: a window shown from then on is
  // made at once if it is not yet.
  bool WindowsShown() const { return Shown; }
  // Dispatches every queued message without waiting; a quit message among
  // them ends the loop, after the rest.
  void ProcessMessages();
  bool Terminated() const { return Ended; }
  // Lets a process run a second loop after the first has ended (test programs).
  void ResetTerminated() { Ended = false; }

  // The layer's own: what it tells the application as it happens.
  void FormFocused(TFormObject* form) { FocusedForm = form; }
  void Forget(TWindowObject* window);
  void ProgramEnds() { AppWindow = nullptr; }
  // The message the loop is dispatching now: a mouse message that is this
  // one came from the person at the mouse, not from a program (BM_CLICK
  // sends its own).
  const MSG& Dispatched() const { return DispatchedMessage; }
  // The window system failed with this error code: the terms' box and end.
  [[noreturn]] void WindowSystemFailed(uint32_t error);
  // A fault the layer cannot recover from, in its own words: the box with
  // the terms' caption, then the terms' end.
  [[noreturn]] void Fail(const std::string& text);
  // Windows ends the session: the application window goes and the process
  // ends there and then, with the terms' code.
  [[noreturn]] void EndSession();

private:
  TApplicationTerms Terms;
  TFormObject* AppWindow = nullptr;
  TFormObject* FocusedForm = nullptr;
  bool Hidden = false;
  bool Shown = false;
  bool Ended = false;
  MSG DispatchedMessage{};
};
