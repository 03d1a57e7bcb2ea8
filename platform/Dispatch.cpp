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
    const bool mouse = DispatchedMessage.hwnd == w.Handle && DispatchedMessage.message == msg;
    const TWindowObject* form = w.Form();
    if (press && mouse && form && &w != form && form->PressTooSoon(DispatchedMessage.time)) return true;
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
    const bool click = (child->KindId == ckButton && code == BN_CLICKED) ||
                       ((child->KindId == ckLabel || child->KindId == ckPanel) && code == STN_CLICKED);
    if (click && child->OnClick) child->OnClick(child);
    if (child->KindId == ckEdit && code == EN_CHANGE && child->OnTextChange) child->OnTextChange(child);
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
    if (w.OnPaint && w.KindId != ckForm) return true; // the paint handler covers everything
    // A group box draws only its frame and caption; its parents clip it
    // away, so nothing else paints the inside unless it does so itself.
    if (w.KindId != ckForm && w.KindId != ckGroupBox) return false;
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

  static bool SetFocus(TWindowObject& w) {
    if (w.KindId == ckForm) {
      CurrentFormObject = &w;
      w.RestoreFocus();
      return true;
    }
    if (TWindowObject* form = w.Form()) {
      form->LastFocused = &w;
      if (form->KindId == ckForm) CurrentFormObject = form;
      form->ShowDefaultLook(&w);
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
    if (!IsClassWindow(w.KindId)) return false;
    result = msg == WM_GETFONT ? reinterpret_cast<LRESULT>(w.FontHandle()) : 0;
    return true;
  }

  // A window moved to a screen of another resolution: everything in it is
  // laid out anew, and the window takes the place the system suggests.
  static bool DpiChanged(TWindowObject& w, WPARAM wParam, LPARAM lParam) {
    if (!IsClassWindow(w.KindId)) return false;
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

  // A close that the hook let through: the main window takes the whole
  // program with it, another form only hides.
  static bool Close(TWindowObject& w) {
    if (!IsClassWindow(w.KindId)) return false;
    TWindowObject* parent = w.ParentObject;
    const bool mainWindow = w.KindId == ckApplication ||
                            (parent && parent->KindId == ckApplication && parent->Children().front() == &w);
    if (!mainWindow) {
      w.SetVisible(false);
      return true;
    }
    TWindowObject* app = w.KindId == ckApplication ? &w : parent;
    for (TWindowObject* form : app->Children())
      if (form->Handle) ShowWindow(form->Handle, SW_HIDE);
    if (app->Handle) ShowWindow(app->Handle, SW_HIDE);
    PostQuitMessage(0);
    return true;
  }

  // Windows is shutting down or logging off: the program ends at once, with
  // the code it would end with now.
  static bool EndSession(TWindowObject& w, WPARAM wParam) {
    if (!IsClassWindow(w.KindId) || !wParam) return false;
    const uint32_t code = SessionEndCode();
    if (ApplicationWindow) FreeWindowObject(ApplicationWindow);
    ExitProcess(code);
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
      case WM_SETFONT: case WM_GETFONT: return Font(w, msg, result);
      case WM_DPICHANGED: return DpiChanged(w, wParam, lParam);
      case WM_GETOBJECT: return AccessibleObject(w, wParam, lParam, result);
      case WM_CLOSE: return Close(w);
      case WM_ENDSESSION: return EndSession(w, wParam);
      case WM_NCDESTROY: return NcDestroy(w, wParam, lParam, result);
      default: return false;
    }
  }
};

LRESULT TWindowObject::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (OnMessageHook) {
    TMessage m{msg, wParam, lParam, 0};
    if (OnMessageHook(this, m)) return m.Result;
  }
  LRESULT result = 0;
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
    if (object) {
      LinkObject(hwnd, object);
      TLayerAccess::SetHandle(object, hwnd);
    }
  }
  if (!object) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return object->Dispatch(msg, wParam, lParam);
}
