// TOMButton: a push button that sends its Data on each click.
#pragma once

#include "Win.h"

class TOMButton : public TOMWin {
public:
  explicit TOMButton(TWindowObject* parent);

  TPointLink outClick;
  TData Data;
  bool Default = false; // Enter presses it, and it is drawn as the default button
  bool Cancel = false;  // Escape presses it

  void SetCaption(const std::string& caption);
  void Init() override;

private:
  void Click(TWindowObject* sender);
};
