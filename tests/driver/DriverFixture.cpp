// A small program the driver's own tests work through its windows.
//   box        an ownerless OK box, then exit code 5
//   window     a window with a button that asks a Yes/No question and shows
//              the answer in a label; the close box ends it with exit code 7
//   stubborn   the same window, but it refuses to close
#include <windows.h>

#include <cstring>

namespace {

// "Окно проверки" and "Продолжить?" in code page 1251: the driver must read
// Cyrillic texts back unchanged.
const char* const WindowCaption = "\xCE\xEA\xED\xEE \xEF\xF0\xEE\xE2\xE5\xF0\xEA\xE8";
const char* const QuestionText = "\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xFC?";
constexpr int AskId = 100;

bool Stubborn = false;
HWND Label = nullptr;

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND:
    if (LOWORD(wParam) == AskId && HIWORD(wParam) == BN_CLICKED) {
      int answer = MessageBoxA(window, QuestionText, "Fixture question", MB_YESNO | MB_ICONEXCLAMATION);
      SetWindowTextA(Label, answer == IDYES ? "yes" : answer == IDNO ? "no" : "other");
    }
    return 0;
  case WM_CLOSE:
    if (Stubborn) return 0;
    DestroyWindow(window);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(7);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (std::strcmp(commandLine, "box") == 0) {
    MessageBoxA(nullptr, "Fixture text", "Fixture box", MB_OK);
    return 5;
  }
  Stubborn = std::strcmp(commandLine, "stubborn") == 0;

  WNDCLASSA cls{};
  cls.lpfnWndProc = &FixtureProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = "DriverFixture";
  RegisterClassA(&cls);
  // An invisible zero-size owner, as a program with a taskbar window has:
  // the driver must not take it for the main window.
  HWND owner = CreateWindowExA(0, "DriverFixture", WindowCaption, WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                               nullptr, nullptr, instance, nullptr);
  HWND window = CreateWindowExA(0, "DriverFixture", WindowCaption, WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                owner, nullptr, instance, nullptr);
  CreateWindowExA(0, "BUTTON", "Ask", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, window,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(AskId)), instance, nullptr);
  Label = CreateWindowExA(0, "STATIC", "idle", WS_CHILD | WS_VISIBLE, 10, 50, 80, 20, window, nullptr,
                          instance, nullptr);
  ShowWindow(window, SW_SHOW);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
