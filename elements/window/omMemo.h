// TOMMemo: a multi-line text field (the licence text).
#pragma once

#include "WinList.h"

class TOMMemo : public TOMWinList {
public:
  using TOMWinList::TOMWinList;

  uint8_t ScrollBars = 0; // 0 none, 1 horizontal, 2 vertical, 3 both
  uint8_t ReadOnly = 1;   // 0 = read-only, 1 = editable
  std::string Text;

  void Init() override;
  void SetText(const std::string& text) override;
  void AddLine(const std::string& text) override;

private:
  void Changed(TWindowObject* sender);
};
