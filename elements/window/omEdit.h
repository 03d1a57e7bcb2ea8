// TOMEdit: a single-line text field reporting changes and Enter.
#pragma once

#include "Win.h"

class TOMEdit;
// Reads the control's text; false when there is nothing to read.
using TTextReader = bool (*)(TOMEdit* edit, TData& value);
bool EditTextReader(TOMEdit* edit, TData& value);

class TOMEdit : public TOMWin {
public:
  using TOMWin::TOMWin;

  int32_t ChangeState = 0; // 0 ignore next change, 1 report, 2 clear after Enter
  bool EnterPending = false;
  TTextReader TextReader = &EditTextReader;
  bool Password = false;
  std::string Text;
  bool ReadOnly = false;
  bool FirstChangeIgnored = false; // the scheme never sets it
  TPointLink getText;
  TPointLink outEnter;
  TPointLink outChange;

  void KeyDown(TWindowObject* sender, uint16_t& key, uint32_t shift) override;
  void Init() override;

  void inText(TData& value, uint16_t index);
  void varText(TData& value, uint16_t index);

private:
  void Changed(TWindowObject* sender);
};
