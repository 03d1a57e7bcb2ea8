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
    Resource.clear();
    Lines.AssignText(text);
  }
  // The Strings property from the text resource of this name, read when the
  // list is first written: building the container unpacks nothing, and the
  // text is unpacked while the program waits for the person.
  void SetStringsResource(const std::string& name);
  void inSave(TData& value, uint16_t index);

private:
  std::string Resource; // still to be read into Lines
};
