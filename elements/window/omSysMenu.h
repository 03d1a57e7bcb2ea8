// TOMSysMenu: takes the maximise box away from a window read through getHandle.
#pragma once

#include <cstdint>

#include "Share.h"

class TOMSysMenu : public TOMObject {
public:
  uintptr_t LastHandle = 0;
  int32_t SavedStyle = 0;
  TPointLink getHandle;

  void inHideMaximize(TData& value, uint16_t index);
};
