// TClassChildPanel_6C2F9B4: the welcome body, the side picture with the
// title and the welcome text beside it.
#pragma once

#include <memory>

#include "Container.h"
#include "omEditMulti.h"
#include "omImage.h"
#include "omLabel.h"
#include "omPanel.h"

class TClassChildPanel_6C2F9B4 : public TSchemeContainer {
public:
  explicit TClassChildPanel_6C2F9B4(TWindowObject* parent);
  ~TClassChildPanel_6C2F9B4() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_6C2F9B4>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  std::unique_ptr<TOMEditMulti> Bridge_;  // no points
  std::unique_ptr<TOMPanel> BodyPanel;    // host window element: created first, freed last
  std::unique_ptr<TOMLabel> TitleLabel;
  std::unique_ptr<TOMImage> SidePicture;
  std::unique_ptr<TOMLabel> WelcomeText;  // resource Str1
};
