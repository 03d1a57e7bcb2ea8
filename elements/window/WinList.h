// TOMWinList: the base of list-like text controls.
#pragma once

#include <string>
#include <vector>

#include "Win.h"

class TOMWinList : public TOMWin {
public:
  using TOMWin::TOMWin;

  std::vector<std::string> Lines; // scratch list of GetText
  TPointLink outChange;

  // What a kind of list element does with its lines its own way.
  virtual void SetText(const std::string& text);
  virtual void AddLine(const std::string& text);
  virtual void Clear();
  virtual void GetText(std::string& text);
};

// Splits a text at CR LF, CR or LF; a final line end adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
