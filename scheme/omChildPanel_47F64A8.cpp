#include "omChildPanel_47F64A8.h"

#include "omChildPanel_3ECBCC0.h"

TClassChildPanel_47F64A8::TClassChildPanel_47F64A8(TWindowObject* parent)
    : FramePanel(PagePanel(MakeHost<TOMPanel>(parent), -5, 0, 440, 330, false)) {
  // Settings and links, in reverse creation order.
  HostContainer(*BodyHost, &TClassChildPanel_3ECBCC0::Create);
  NavigationButton(*DoneButton, 300, "Готово", IntegerData(0), bkEnter,
                   MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti));
  // Shown and hidden directly, without a hub; a new text goes on to the body.
  SetBridge({MakePointLink<&TOMWin::inVisible>(2, FramePanel), MakePointLink<&TOMMultiElement::inWork>(0, BodyHost)});
}
