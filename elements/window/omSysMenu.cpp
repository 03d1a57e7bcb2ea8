#include "omSysMenu.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

void TOMSysMenu::inHideMaximize(TData& value, uint16_t) {
  int32_t handle = ReadPointInteger(value, getHandle, 0);
  // Handles travel as 32-bit integers; sign extension restores them on 64-bit.
  LastHandle = uintptr_t(intptr_t(handle));
  if (handle == 0) return;
  HWND window = reinterpret_cast<HWND>(intptr_t(handle));
  SavedStyle = int32_t(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, LONG(SavedStyle & ~int32_t(WS_MAXIMIZEBOX)));
  DrawMenuBar(window); // redraws the caption buttons and the system menu
}
