// TClassChildPanel_3ECBCC0: the finish body, the side picture with the
// title and the success text beside it.
#pragma once

#include <memory>

#include "Container.h"
#include "omEditMulti.h"
#include "omImage.h"
#include "omLabel.h"
#include "omPanel.h"

class TClassChildPanel_3ECBCC0 : public TSchemeContainer {
public:
  explicit TClassChildPanel_3ECBCC0(TWindowObject* parent);
  ~TClassChildPanel_3ECBCC0() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_3ECBCC0>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  std::unique_ptr<TOMEditMulti> Bridge_;  // inWork[0]: replaces the success text
  std::unique_ptr<TOMPanel> BodyPanel;    // host window element: created first, freed last
  std::unique_ptr<TOMLabel> TitleLabel;
  std::unique_ptr<TOMImage> SidePicture;
  std::unique_ptr<TOMLabel> SuccessText;
};
