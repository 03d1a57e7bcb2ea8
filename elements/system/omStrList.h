#pragma once
#include "LineList.h"
#include "Share.h"

// A list of text lines, filled from a text resource, written to a file on inSave.
class TOMStrList : public TOMObject {
public:
  TLineList Lines;
  std::string FileName;
  TPointLink getFileName;

  // The Strings property: the container applies the element's text resource.
  void SetStrings(const std::string& text) {
    FileName.clear();
    Lines.AssignText(text);
  }
  void inSave(TData& value, uint16_t index);
};
