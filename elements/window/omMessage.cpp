#include "omMessage.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "Text.h"

uint32_t MessageButtonStyle(uint8_t buttons) {
  switch (buttons) {
    case 1: return MB_OKCANCEL;
    case 2: return MB_YESNO;
    case 3: return MB_YESNOCANCEL;
    case 4: return MB_RETRYCANCEL;
    case 5: return MB_ABORTRETRYIGNORE;
    default: return MB_OK;
  }
}

uint32_t MessageIconStyle(uint8_t iconKind) {
  switch (iconKind) {
    case 1: return MB_ICONHAND;
    case 2: return MB_ICONQUESTION;
    case 3:
    case 5: return MB_ICONEXCLAMATION;
    case 4: return MB_ICONASTERISK;
    default: return 0;
  }
}

void TOMMessage::inMessage(TData& value, uint16_t) {
  std::string text = ReadPointString(value, getText, Text);
  uint32_t style = MessageButtonStyle(Buttons) | MessageIconStyle(IconKind);
  std::string title = ReadPointString(value, getCaption, Caption);
  HWND owner = reinterpret_cast<HWND>(MainWindowHandle());
  int result = MessageBoxW(owner, WideOf(text).data(), WideOf(title).data(), style);
  FireInteger(outResult, result);
}
