// TClassChildPanel_5198818: the licence header strip, a white title band
// across the top of the licence body.
#pragma once

#include <memory>

#include "Container.h"
#include "omEditMulti.h"
#include "omLabel.h"
#include "omPanel.h"

class TClassChildPanel_5198818 : public TSchemeContainer {
public:
  explicit TClassChildPanel_5198818(TWindowObject* parent);
  ~TClassChildPanel_5198818() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_5198818>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  std::unique_ptr<TOMEditMulti> Bridge_;   // no points
  std::unique_ptr<TOMPanel> HeaderPanel;   // host window element: created first, freed last
  std::unique_ptr<TOMLabel> HeaderLabel;
};
