#include "omMainForm.h"

#include "Container.h"

void ScreenCenterPosition(TOMMainForm* form) {
  TWindowObject* window = form->Control;
  if (!window) return;
  // The screen's size in the window's units.
  form->Left = window->Unscale(GetSystemMetrics(SM_CXSCREEN)) / 2 - window->GetWidth() / 2;
  form->Top = window->Unscale(GetSystemMetrics(SM_CYSCREEN)) / 2 - window->GetHeight() / 2;
  window->SetPosition(form->Left, form->Top);
}

TOMMainForm::TOMMainForm(TWindowObject* parent) : TOMWin(parent) {
  TApplication& app = TApplication::Current();
  if (!app.Window()) {
    AppObject = app.CreateApplicationWindow();
    AppObject->OnDestroyed = MakeHandler<&TOMMainForm::AppDestroyed>(this);
    OwnsApplication = true;
  }
  FormObject = CreateForm(parent ? parent : app.Window(), "Form");
  Control = FormObject;
  Control->SetFontName("MS Sans Serif");
  Control->SetFontHeight(-11);
  Control->SetChildMargin(0);
  Control->OnShow = MakeHandler<&TOMMainForm::FirstShow>(this);
  Control->OnDestroyed = MakeHandler<&TOMMainForm::FormDestroyed>(this);
  DeferInit(MakeInitCallback<TOMMainForm, &TOMMainForm::NotifyCreate>(this));
}

TOMMainForm::~TOMMainForm() {
  if (FormObject) FormObject->ClearHandlers();
  if (AppObject) {
    // This form made the application window: it goes with the form, and no
    // handler of this element runs while it does.
    AppObject->ClearHandlers();
    TFormObject* app = AppObject;
    AppObject = nullptr;
    FormObject = nullptr;
    Control = nullptr;
    FreeWindowObject(app);
  } else if (!Control && FormObject) {
    FreeWindowObject(FormObject);
    FormObject = nullptr;
  }
}

void TOMMainForm::SetCaption(const std::string& caption) {
  if (FormObject) FormObject->SetText(caption);
  if (OwnsApplication && AppObject) AppObject->SetText(caption);
}

void TOMMainForm::SetIcon(HICON icon) {
  if (OwnsApplication && AppObject) {
    // One icon for both: the application window owns it and outlives the
    // form, its child, so the form only borrows it (no copy to make).
    if (FormObject) FormObject->SetIcon(icon, false);
    AppObject->SetIcon(icon);
  } else if (FormObject) {
    FormObject->SetIcon(icon);
  }
  IconSet = icon != nullptr;
}

void TOMMainForm::SetBorderStyle(uint8_t borderStyle) {
  if (!Control) return;
  struct TFrame {
    DWORD Clear;
    DWORD AddEx;
  };
  static const TFrame frames[8] = {
      {WS_CAPTION | WS_THICKFRAME, 0},
      {WS_THICKFRAME, 0},
      {0, 0},
      {WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME},
      {WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
      {WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
      {WS_CAPTION | WS_THICKFRAME, WS_EX_DLGMODALFRAME},
      {WS_CAPTION, 0},
  };
  if (borderStyle > 7) return;
  // Styles first: a window not yet made is then made with its frame at once,
  // instead of being made and re-framed.
  const TFrame& f = frames[borderStyle];
  Control->SetStyle(Control->GetStyle() & ~f.Clear);
  Control->SetExStyle(Control->GetExStyle() | f.AddEx);
  Control->GetHandle();
}

void TOMMainForm::SetTaskbarHidden(uint8_t hidden) {
  // A tool window owned by nothing visible has no taskbar button.
  if (hidden == 1 && OwnsApplication && AppObject) AppObject->SetExStyle(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME);
}

void TOMMainForm::Init() {
  if (!Control) return;
  AttachBaseHandlers(false);
  Control->SetPosition(Left, Top);
  Control->SetAlign(Align);
  Control->SetColor(Color);
  TFontObject& f = Control->Font();
  f.SetColor(Font.Color);
  f.SetStyle(Font.Style);
  f.SetName(Font.Name);
  f.SetHeight(int32_t(Font.Size) + 6);
  Control->FontChanged();
  if (!Visible || CloseMode == 1) Control->SetVisible(false);
  else if (!OwnsApplication) Control->ShowAndActivate();
  Control->SetEnabled(Enabled);
  const TFormObject* app = TApplication::Current().Window();
  if (!OwnsApplication && !IconSet && app && !app->Children().empty()) {
    HICON first = app->Children().front()->Form()->GetIcon();
    if (first) FormObject->SetIcon(CopyIcon(first));
  }
  Control->OnPaint = MakeHandler<&TOMMainForm::Paint>(this);
  PaintAttached = true;
  Control->SetAlpha(Opacity);
  // The size and the position it gives land in one move.
  Control->HoldBounds();
  if (ClientSize) Control->SetClientSize(Width, Height);
  else Control->SetSize(Width, Height);
  if (Position) Position(this);
  Control->ReleaseBounds();
}

void TOMMainForm::MouseDown(TWindowObject* sender, const TMouseEvent& event) {
  if (DragByClient && Control) {
    ReleaseCapture();
    SendMessageW(Control->GetHandle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  }
  TOMWin::MouseDown(sender, event);
}

bool TOMMainForm::MessageHook(TWindowObject* sender, TMessage& message) {
  switch (message.Msg) {
    case WM_MOVE:
    case WM_SIZE: {
      RECT r;
      GetWindowRect(sender->GetHandle(), &r);
      if (OwnsApplication && AppObject) {
        if (message.Msg == WM_MOVE) AppObject->SetPosition(sender->Unscale(r.left), sender->Unscale(r.top));
        else AppObject->SetSize(sender->Unscale(r.right - r.left), 0);
      }
      if (message.Msg == WM_MOVE && PaintAttached) FireNull(outMove);
      return false;
    }
    case WM_ACTIVATE:
      if (LOWORD(message.WParam) > 0) FireNull(outActivate);
      else FireNull(outDeactivate);
      return false;
    case WM_CLOSE:
      message.Result = 0;
      return !CloseQuery(); // a refused close is swallowed
    default:
      return false;
  }
}

bool TOMMainForm::CloseQuery() {
  TData none;
  if (ReadPointInteger(none, getBlockClose, 0) != 0) return false;
  if (!OwnsApplication && CloseMode != 1) {
    if (Control) Control->SetVisible(false);
    return false;
  }
  if (OwnsApplication) {
    FireNull(outClose);
    StopDispatch();
    Control = nullptr; // the layer ends the program with the window: its loop frees it
  }
  return true;
}

void TOMMainForm::inClose(TData&, uint16_t) {
  if (!FormObject) return;
  if (OwnsApplication) FormObject->PostQuit();
  else FormObject->PostClose();
}

void TOMMainForm::Start() {
  if (TFormObject* app = TApplication::Current().Window()) app->SetVisible(Visible);
  StartDispatch();
  RunDeferredInits();
}

void TOMMainForm::FirstShow(TWindowObject* sender) {
  if (!FirstShowDone) {
    if (WindowState == 1 || WindowState == 2) sender->SetWindowState(WindowState);
    FirstShowDone = true;
  }
  FireNull(outShow);
}

void TOMMainForm::Paint(TWindowObject* sender, HDC dc) {
  if (BackgroundPicture && !BackgroundPicture->Empty()) {
    RECT r{0, 0, sender->Scale(BackgroundPicture->Width()), sender->Scale(BackgroundPicture->Height())};
    BackgroundPicture->Draw(dc, r, sender->Dpi() != 96);
  }
  FireInteger(outPaint, int32_t(reinterpret_cast<intptr_t>(sender->PeekHandle())));
}

void TOMMainForm::FormDestroyed(TWindowObject*) {
  Control = nullptr;
  FormObject = nullptr;
}

void TOMMainForm::AppDestroyed(TWindowObject*) { AppObject = nullptr; }

void TOMMainForm::NotifyCreate() { FireNull(outCreate); }
