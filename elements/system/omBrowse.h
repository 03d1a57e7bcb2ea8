#pragma once
#include "Share.h"

// Shows the system's folder dialog; fires outPath with the chosen path.
class TOMBrowse : public TOMObject {
public:
  uint8_t BrowseType = 0; // 0 folders, 1 computers, 2 printers, 3 folders and files
  std::string Title;
  TPointLink outPath;

  void inBrowse(TData& value, uint16_t index);
};
