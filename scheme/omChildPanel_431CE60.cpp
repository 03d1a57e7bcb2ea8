#include "omChildPanel_431CE60.h"

#include "omChildPanel_6C2F9B4.h"

TClassChildPanel_431CE60::TClassChildPanel_431CE60(TWindowObject* parent)
    : TPageContainer(parent, -5, 0, 440, 330, true) { // shown: the first page
  // Settings and links, in reverse creation order.
  HostContainer(*BodyHost, &CreateContainer<TClassChildPanel_6C2F9B4>);
  // Next: tell the main scheme (it shows the licence page), then hide.
  SetHub(*NextHub, 1, {MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti), MakePointLink<&TOMHub::inDo>(1, ShowHub)});
  SetHub(*ShowHub, 2, {MakePointLink<&TOMWin::inVisible>(2, Panel)});
  NavigationButton(*NextButton, 270, "Далее>", IntegerData(0), bkEnter, MakePointLink<&TOMHub::inDo>(0, NextHub));
  NavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape,
                   MakePointLink<&TOMEditMulti::inEvent>(1, EditMulti));
  SetBridge({MakePointLink<&TOMHub::inDo>(0, ShowHub)});
}
