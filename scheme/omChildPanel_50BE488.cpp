#include "omChildPanel_50BE488.h"

#include "omChildPanel_46DBE38.h"

TClassChildPanel_50BE488::TClassChildPanel_50BE488(TWindowObject* parent)
    : TPageContainer(parent, -5, 0, 440, 330, false) {
  // Settings and links, in reverse creation order.
  // Agree: tell the main scheme (it shows the folder page), then hide.
  SetHub(*AgreeHub, 1, {MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti), MakePointLink<&TOMHub::inDo>(1, ShowHub)});
  HostContainer(*BodyHost, &CreateContainer<TClassChildPanel_46DBE38>);
  NavigationButton(*BackButton, 180, BackCaption, IntegerData(0), bkNone, MakePointLink<&TOMHub::inDo>(0, BackHub));
  SetHub(*ShowHub, 3, {MakePointLink<&TOMWin::inVisible>(2, Panel)});
  // Back: hide first, then tell the main scheme (it shows the welcome page).
  SetHub(*BackHub, 1, {MakePointLink<&TOMHub::inDo>(2, ShowHub), MakePointLink<&TOMEditMulti::inEvent>(1, EditMulti)});
  NavigationButton(*AgreeButton, 270, "Согласен", IntegerData(0), bkEnter, MakePointLink<&TOMHub::inDo>(0, AgreeHub));
  NavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape,
                   MakePointLink<&TOMEditMulti::inEvent>(2, EditMulti));
  SetBridge({MakePointLink<&TOMHub::inDo>(0, ShowHub)});
}
