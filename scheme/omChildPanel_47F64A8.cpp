#include "omChildPanel_47F64A8.h"

#include "omChildPanel_3ECBCC0.h"

TClassChildPanel_47F64A8::TClassChildPanel_47F64A8(TWindowObject* parent)
    : TPageContainer(parent, -5, 0, 440, 330, false) {
  // Settings and links, in reverse creation order.
  HostContainer(*BodyHost, &CreateContainer<TClassChildPanel_3ECBCC0>);
  NavigationButton(*DoneButton, 300, "Готово", IntegerData(0), bkEnter,
                   MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti));
  // Shown and hidden directly, without a hub; a new text goes on to the body.
  SetBridge({MakePointLink<&TOMWin::inVisible>(2, Panel), MakePointLink<&TOMMultiElement::inWork>(0, BodyHost)});
}
