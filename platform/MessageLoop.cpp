// The message loop: the program's windows made and shown, then every message
// dispatched until a quit message; afterwards the windows freed.
#include "Layer.h"
#include "Text.h"

TWindowObject* CurrentFormObject = nullptr;
bool TerminatedFlag = false;

TWindowObject* CurrentForm() { return CurrentFormObject; }

void ShowApplicationWindows(TWindowObject* app) {
  if (!app) return;
  app->CreateAll();
  if (!app->GetVisible()) ShowWindow(app->PeekHandle(), SW_HIDE);
  for (TWindowObject* form : app->Children())
    if (form->Kind() == ckForm && form->GetVisible() && form->PeekHandle()) ShowWindow(form->PeekHandle(), SW_SHOW);
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      TerminatedFlag = true; // the rest of the queue is still dispatched
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool Terminated() { return TerminatedFlag; }

void ResetTerminated() { TerminatedFlag = false; }

void RunMessageLoop(TWindowObject*& applicationWindow) {
  // The loop keeps its own reference: an accepted close forgets the global one.
  TWindowObject* app = applicationWindow;
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

void FatalWindowError(const std::string& text) {
  MessageBoxW(nullptr, WideOf(text).data(), L"Error", MB_OK | MB_ICONHAND | MB_TASKMODAL);
  ExitProcess(3); // the exit code for a failed window system (README)
}
