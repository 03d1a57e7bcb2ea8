// TClassChildPanel_46DBE38: the licence body, the header strip, the
// read-only licence text and the two hint lines around it.
#pragma once

#include <memory>

#include "Container.h"
#include "omEditMulti.h"
#include "omLabel.h"
#include "omMemo.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_46DBE38 : public TSchemeContainer {
public:
  explicit TClassChildPanel_46DBE38(TWindowObject* parent);
  ~TClassChildPanel_46DBE38() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_46DBE38>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  std::unique_ptr<TOMEditMulti> Bridge_;       // no points
  std::unique_ptr<TOMPanel> BodyPanel;         // host window element: created first, freed last
  std::unique_ptr<TOMLabel> ScrollHint;
  std::unique_ptr<TOMMultiElement> HeaderHost; // TClassChildPanel_5198818
  std::unique_ptr<TOMLabel> AcceptHint;
  std::unique_ptr<TOMMemo> LicenceText;        // resource Str2
};
