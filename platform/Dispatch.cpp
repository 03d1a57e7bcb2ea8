// Message routing: every message of a window the layer made reaches its
// object's message hook first, then the one handler for that message, then
// the window's default procedure. Notifications that Windows sends to a
// parent (commands, colours) are handled on the control they concern.
#include "Layer.h"

namespace {

TMouseEvent MouseEventOf(int32_t button, WPARAM wParam, LPARAM lParam) {
  TMouseEvent e;
  e.Button = button;
  e.Keys = int32_t(wParam & 0xFFFF);
  if (GetKeyState(VK_MENU) < 0) e.Keys |= 0x20;
  e.Pos = int32_t(uint32_t(lParam) & 0xFFFFFFFFu);
  return e;
}

// The mouse buttons: which handler hears each message, and about which button.
struct TButtonMessage {
  UINT Msg;
  int32_t Button;
  TMouseHandler TWindowObject::*Handler;
};
const TButtonMessage ButtonMessages[] = {
    {WM_LBUTTONDOWN, 1, &TWindowObject::OnMouseDown}, {WM_RBUTTONDOWN, 2, &TWindowObject::OnMouseDown},
    {WM_MBUTTONDOWN, 3, &TWindowObject::OnMouseDown}, {WM_LBUTTONUP, 1, &TWindowObject::OnMouseUp},
    {WM_RBUTTONUP, 2, &TWindowObject::OnMouseUp},     {WM_MBUTTONUP, 3, &TWindowObject::OnMouseUp},
    {WM_LBUTTONDBLCLK, 1, &TWindowObject::OnDblClick}, {WM_RBUTTONDBLCLK, 2, &TWindowObject::OnDblClick},
    {WM_MBUTTONDBLCLK, 3, &TWindowObject::OnDblClick},
};

} // namespace

// One handler a message. A handler that answers the message returns true and
// leaves its result; otherwise the default procedure follows.
struct TMessageHandlers {
  using TResult = LRESULT;

  static bool MouseMove(TWindowObject& w, WPARAM wParam, LPARAM lParam) {
    if ((w.OnMouseEnter || w.OnMouseLeave) && !w.MouseInside) {
      w.MouseInside = true;
      TRACKMOUSEEVENT t{sizeof(TRACKMOUSEEVENT), TME_LEAVE, w.Handle, 0};
      TrackMouseEvent(&t);
      if (w.OnMouseEnter) w.OnMouseEnter(&w);
    }
    if (w.OnMouseMove) w.OnMouseMove(&w, MouseEventOf(0, wParam, lParam));
    return false;
  }

  static bool MouseLeave(TWindowObject& w) {
    w.MouseInside = false;
    if (w.OnMouseLeave) w.OnMouseLeave(&w);
    return false;
  }

  // A press of the mouse that comes too soon after a new page was shown is
  // swallowed: the second click of a double-click meant for the page before.
  static bool MouseButton(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool press = msg != WM_LBUTTONUP && msg != WM_RBUTTONUP && msg != WM_MBUTTONUP;
    const TApplication* app = ApplicationOfLayer();
    const MSG dispatched = app ? app->Dispatched() : MSG{};
    const bool mouse = dispatched.hwnd == w.Handle && dispatched.message == msg;
    const TFormObject* form = w.Form();
    if (press && mouse && form && &w != form && form->PressTooSoon(dispatched.time)) return true;
    for (const TButtonMessage& b : ButtonMessages) {
      const TMouseHandler& handler = w.*b.Handler;
      if (b.Msg == msg && handler) handler(&w, MouseEventOf(b.Button, wParam, lParam));
    }
    return false;
  }

  // A click or a text change, reported to the parent: the control's handler.
  static bool Command(WPARAM wParam, LPARAM lParam) {
    TWindowObject* child = lParam ? ObjectOf(reinterpret_cast<HWND>(lParam)) : nullptr;
    if (!child) return false;
    const WORD code = HIWORD(wParam);
    const TControlKind& kind = KindOf(child->KindId);
    if (code == kind.ClickCode && child->OnClick) child->OnClick(child);
    if (code == kind.ChangeCode && child->OnTextChange) child->OnTextChange(child);
    return true;
  }

  static bool ControlColor(WPARAM wParam, LPARAM lParam, TResult& result) {
    TWindowObject* child = ObjectOf(reinterpret_cast<HWND>(lParam));
    if (child) result = child->ControlColor(reinterpret_cast<HDC>(wParam));
    return child != nullptr;
  }

  static bool Paint(TWindowObject& w) {
    if (!w.OnPaint) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w.Handle, &ps);
    w.OnPaint(&w, dc);
    EndPaint(w.Handle, &ps);
    return true;
  }

  static bool PrintClient(TWindowObject& w, WPARAM wParam) {
    if (!w.OnPaint) return false;
    w.OnPaint(&w, reinterpret_cast<HDC>(wParam));
    return true;
  }

  static bool EraseBackground(TWindowObject& w, WPARAM wParam, TResult& result) {
    result = 1;
    const TBackground background = KindOf(w.KindId).Background;
    if (w.OnPaint && background != bgUnderPaint) return true; // the paint handler covers everything
    if (background == bgSystem) return false;
    if (!w.Transparent) {
      RECT r;
      GetClientRect(w.Handle, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, w.GetBrush());
    }
    return true;
  }

  static bool SetCursor(TWindowObject& w, WPARAM wParam, LPARAM lParam, TResult& result) {
    if (!w.Cursor || LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != w.Handle) return false;
    ::SetCursor(reinterpret_cast<HCURSOR>(w.Cursor));
    result = TRUE;
    return true;
  }

  // A control took the focus: its form gives it back there later.
  static bool SetFocus(TWindowObject& w) {
    if (TFormObject* form = w.Form()) {
      form->SetLastFocused(&w);
      if (TApplication* app = ApplicationOfLayer()) app->FormFocused(form);
      w.ShowDefaultLook();
    }
    return false;
  }

  static bool WindowPosChanged(TWindowObject& w, WPARAM wParam, LPARAM lParam, TResult& result) {
    result = w.DefaultProc(WM_WINDOWPOSCHANGED, wParam, lParam);
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((pos->flags & SWP_SHOWWINDOW) && w.OnShow) w.OnShow(&w);
    return true;
  }

  static bool Size(TWindowObject& w) {
    w.SyncBounds();
    w.Realign();
    if (w.OnSize) w.OnSize(&w);
    return false;
  }

  // A form's font is its font object: nothing to set, this to tell.
  static bool Font(TWindowObject& w, UINT msg, TResult& result) {
    result = msg == WM_GETFONT ? reinterpret_cast<LRESULT>(w.FontHandle()) : 0;
    return true;
  }

  // A window moved to a screen of another resolution: everything in it is
  // laid out anew, and the window takes the place the system suggests.
  static bool DpiChanged(TWindowObject& w, WPARAM wParam, LPARAM lParam) {
    w.ChangeDpi(HIWORD(wParam));
    const RECT* r = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(w.Handle, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    w.SyncBounds();
    return true;
  }

  static bool AccessibleObject(TWindowObject& w, WPARAM wParam, LPARAM lParam, TResult& result) {
    result = w.AccessibleObject(wParam, lParam);
    return result != 0;
  }

  // A close that the hook let through: the main window (the application
  // window's first form) takes the whole program with it, another form only
  // hides.
  static bool CloseForm(TWindowObject& w) {
    TWindowObject* parent = w.ParentObject;
    if (parent && parent->KindId == ckApplication && parent->Children().front() == &w) return EndProgram(*parent);
    w.SetVisible(false);
    return true;
  }

  // The application window is no longer offered (boxes get no owner); the
  // loop still frees it.
  static bool EndProgram(TWindowObject& app) {
    for (TWindowObject* form : app.Children())
      if (form->Handle) ShowWindow(form->Handle, SW_HIDE);
    if (app.Handle) ShowWindow(app.Handle, SW_HIDE);
    if (TApplication* application = ApplicationOfLayer()) application->ProgramEnds();
    PostQuitMessage(0);
    return true;
  }

  // Windows is shutting down or logging off: the program ends at once, with
  // the code it would end with now.
  static bool EndSession(WPARAM wParam) {
    if (!wParam) return false;
    TApplication::Current().EndSession();
  }

  // The handle dies here: the link goes first, so nothing routes to this
  // object through a handle that the system may hand out again.
  static bool NcDestroy(TWindowObject& w, WPARAM wParam, LPARAM lParam, TResult& result) {
    HWND hwnd = w.Handle;
    WNDPROC saved = w.SavedProc;
    LinkObject(hwnd, nullptr);
    w.Handle = nullptr;
    w.SavedProc = nullptr;
    result = saved ? CallWindowProcW(saved, hwnd, WM_NCDESTROY, wParam, lParam)
                   : DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
    return true;
  }

  static bool Handle(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, TResult& result) {
    switch (msg) {
      case WM_MOUSEMOVE: return MouseMove(w, wParam, lParam);
      case WM_MOUSELEAVE: return MouseLeave(w);
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: return MouseButton(w, msg, wParam, lParam);
      case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
        return w.HandleKey(msg, wParam); // a swallowed key answers 0
      case WM_COMMAND: return Command(wParam, lParam);
      case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
        return ControlColor(wParam, lParam, result);
      case WM_PAINT: return Paint(w);
      case WM_PRINTCLIENT: return PrintClient(w, wParam);
      case WM_ERASEBKGND: return EraseBackground(w, wParam, result);
      case WM_SETCURSOR: return SetCursor(w, wParam, lParam, result);
      case WM_SETFOCUS: return SetFocus(w);
      case WM_WINDOWPOSCHANGED: return WindowPosChanged(w, wParam, lParam, result);
      case WM_MOVE: w.SyncBounds(); return false;
      case WM_SIZE: return Size(w);
      case WM_GETOBJECT: return AccessibleObject(w, wParam, lParam, result);
      case WM_NCDESTROY: return NcDestroy(w, wParam, lParam, result);
      default: return false;
    }
  }

  // What the layer's top-level windows answer beyond the rest.
  static bool TopLevel(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, TResult& result) {
    switch (msg) {
      case WM_SETFONT: case WM_GETFONT: return Font(w, msg, result);
      case WM_DPICHANGED: return DpiChanged(w, wParam, lParam);
      case WM_ENDSESSION: return EndSession(wParam);
      default: return false;
    }
  }

  // The application window holds no controls: its focus is the system's.
  static bool Application(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, TResult& result) {
    switch (msg) {
      case WM_SETFOCUS: result = w.DefaultProc(msg, wParam, lParam); return true;
      case WM_CLOSE: return EndProgram(w);
      default: return TopLevel(w, msg, wParam, lParam, result);
    }
  }

  // A form given the focus hands it on to one of its controls.
  static bool Form(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, TResult& result) {
    switch (msg) {
      case WM_SETFOCUS:
        if (TApplication* app = ApplicationOfLayer()) app->FormFocused(w.Form());
        w.Form()->RestoreFocus();
        return true;
      case WM_CLOSE: return CloseForm(w);
      default: return TopLevel(w, msg, wParam, lParam, result);
    }
  }

  // The window procedure's entry of the layer's own classes: the handle is
  // the object's from the first message on.
  static void Created(TWindowObject& w, HWND hwnd) {
    LinkObject(hwnd, &w);
    w.Handle = hwnd;
  }
};

bool ApplicationMessage(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return TMessageHandlers::Application(w, msg, wParam, lParam, result);
}

bool FormMessage(TWindowObject& w, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return TMessageHandlers::Form(w, msg, wParam, lParam, result);
}

LRESULT TWindowObject::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (OnMessageHook) {
    TMessage m{msg, wParam, lParam, 0};
    if (OnMessageHook(this, m)) return m.Result;
  }
  LRESULT result = 0;
  const TControlKind& kind = KindOf(KindId);
  if (kind.Messages && kind.Messages(*this, msg, wParam, lParam, result)) return result;
  if (TMessageHandlers::Handle(*this, msg, wParam, lParam, result)) return result;
  return DefaultProc(msg, wParam, lParam);
}

void LinkObject(HWND hwnd, TWindowObject* object) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

TWindowObject* ObjectOf(HWND hwnd) {
  return hwnd ? reinterpret_cast<TWindowObject*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowObject* object = ObjectOf(hwnd);
  if (!object && msg == WM_NCCREATE) {
    // The layer's own classes: linked as soon as the handle exists, before
    // the messages that creation sends on.
    object = static_cast<TWindowObject*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (object) TMessageHandlers::Created(*object, hwnd);
  }
  if (!object) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return object->Dispatch(msg, wParam, lParam);
}
