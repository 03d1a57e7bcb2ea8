// The message loop: the program's windows made and shown, then every message
// dispatched until a quit message; afterwards the windows freed.
#include "Layer.h"
#include "Text.h"

TFormObject* CurrentFormObject = nullptr;
bool TerminatedFlag = false;
MSG DispatchedMessage{};

TFormObject* CurrentForm() { return CurrentFormObject; }

void ShowApplicationWindows(TWindowObject* app) {
  if (!app) return;
  app->CreateAll();
  if (!app->GetVisible()) ShowWindow(app->PeekHandle(), SW_HIDE);
  // Forms are made hidden: the visible ones are shown here.
  for (TWindowObject* form : app->Children())
    if (KindOf(form->Kind()).ShownLater && form->GetVisible() && form->PeekHandle())
      ShowWindow(form->PeekHandle(), SW_SHOW);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      TerminatedFlag = true; // the rest of the queue is still dispatched
      continue;
    }
    TranslateMessage(&msg);
    const MSG outer = DispatchedMessage; // a handler may run a loop of its own
    DispatchedMessage = msg;
    DispatchMessageW(&msg);
    DispatchedMessage = outer;
  }
}

bool Terminated() { return TerminatedFlag; }

void ResetTerminated() { TerminatedFlag = false; }

void RunMessageLoop(TFormObject*& applicationWindow) {
  // The loop keeps its own reference: an accepted close forgets the global one.
  TFormObject* app = applicationWindow;
  ApplicationWindow = app;
  ShowApplicationWindows(app);
  while (!TerminatedFlag) {
    WaitMessage();
    ProcessMessages();
  }
  applicationWindow = nullptr;
  ApplicationWindow = nullptr;
  FreeWindowObject(app);
}

namespace {

uint32_t (*CurrentExitCode)() = nullptr;
uint32_t WindowSystemFailedCode = 3;

} // namespace

void SetExitCodes(uint32_t (*current)(), uint32_t windowSystemFailed) {
  CurrentExitCode = current;
  WindowSystemFailedCode = windowSystemFailed;
}

uint32_t SessionEndCode() { return CurrentExitCode ? CurrentExitCode() : 0; }

std::string SystemMessage(uint32_t code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = WideToText(text);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

void FatalWindowError(const std::string& text) {
  // Without a working window system the box may not show: the process ends all the same.
  MessageBoxW(nullptr, WideOf(text).data(), L"Установка программы", MB_OK | MB_ICONHAND | MB_TASKMODAL);
  ExitProcess(WindowSystemFailedCode);
}
