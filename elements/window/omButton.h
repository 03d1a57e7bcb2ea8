// TOMButton: a push button that sends its Data on each click.
#pragma once

#include "Win.h"

class TOMButton : public TOMWin {
public:
  explicit TOMButton(TWindowObject* parent);

  TPointLink outClick;
  TData Data;

  void SetCaption(const std::string& caption);

private:
  void Click(TWindowObject* sender);
};
