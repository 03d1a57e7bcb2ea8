// The application: its window, the focused form, the message loop and its
// end; and the process's end where the layer must end it, on the terms the
// program gave.
#include "Layer.h"
#include "Share.h"
#include "Text.h"

namespace {

TApplication* LiveApplication = nullptr;

// MainWindowHandle: none without an application window; else the current
// form, else the application window's first child.
uintptr_t MainWindowOfLayer() {
  TFormObject* app = LiveApplication ? LiveApplication->Window() : nullptr;
  if (!app) return 0;
  TFormObject* form = LiveApplication->CurrentForm();
  if (form && form->PeekHandle()) return reinterpret_cast<uintptr_t>(form->PeekHandle());
  if (app->Children().empty()) return 0;
  return reinterpret_cast<uintptr_t>(app->Children().front()->GetHandle());
}

} // namespace

TApplication::TApplication(TApplicationTerms terms) : Terms(terms) {
  LiveApplication = this;
  SetMainWindowSource(&MainWindowOfLayer);
}

TApplication::~TApplication() {
  if (AppWindow) FreeWindowObject(AppWindow);
  if (LiveApplication == this) {
    LiveApplication = nullptr;
    SetMainWindowSource(nullptr);
  }
}

TApplication& TApplication::Current() { return *LiveApplication; }

TApplication* ApplicationOfLayer() { return LiveApplication; }

void TApplication::Forget(TWindowObject* window) {
  if (FocusedForm == window) FocusedForm = nullptr;
  if (AppWindow == window) AppWindow = nullptr;
}

void TApplication::ShowWindows() {
  TFormObject* app = AppWindow;
  if (!app) return;
  app->CreateShown();
  Shown = true;
  if (!app->GetVisible()) ShowWindow(app->PeekHandle(), SW_HIDE);
  // Forms are made hidden: the visible ones are shown here.
  for (TWindowObject* form : app->Children())
    if (KindOf(form->Kind()).ShownLater && form->GetVisible() && form->PeekHandle())
      ShowWindow(form->PeekHandle(), SW_SHOW);
}

bool TApplication::CreateHiddenWindows() { return AppWindow && AppWindow->CreateHidden(); }

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Ended = true; // the rest of the queue is still dispatched
      continue;
    }
    TranslateMessage(&msg);
    const MSG outer = DispatchedMessage; // a handler may run a loop of its own
    DispatchedMessage = msg;
    DispatchMessageW(&msg);
    DispatchedMessage = outer;
  }
}

void TApplication::RunMessageLoop() {
  // The loop keeps its own reference: the program's end forgets the application's.
  TFormObject* app = AppWindow;
  ShowWindows();
  bool idle = true, windowsLeft = true;
  while (!Ended) {
    if (!idle) WaitMessage();
    ProcessMessages();
    if (Ended) break;
    if (windowsLeft) windowsLeft = CreateHiddenWindows();
    else if (idle) idle = Terms.IdleWork && Terms.IdleWork();
  }
  AppWindow = nullptr;
  FreeWindowObject(app);
}

void TApplication::EndSession() {
  const uint32_t code = Terms.SessionEndCode ? Terms.SessionEndCode() : 0;
  if (AppWindow) FreeWindowObject(AppWindow);
  ExitProcess(code);
}

void TApplication::WindowSystemFailed(uint32_t error) {
  Fail(Terms.FailureText + std::to_string(error) + ", " + SystemMessage(error));
}

void TApplication::Fail(const std::string& text) {
  // Without a working window system the box may not show: the process ends all the same.
  MessageBoxW(nullptr, WideOf(text).data(), WideOf(Terms.FailureCaption).data(), MB_OK | MB_ICONHAND | MB_TASKMODAL);
  ExitProcess(Terms.FailureCode);
}

std::string SystemMessage(uint32_t code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = WideToText(text);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}
