// The shapes the installer's containers share, one routine each: a page's
// panel, its navigation buttons, body and hint labels, the side picture, a
// hosted container, a hub, a path or text format.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "Container.h"
#include "omButton.h"
#include "omEditMulti.h"
#include "omFormatStr.h"
#include "omHub.h"
#include "omImage.h"
#include "omLabel.h"
#include "omMultiElement.h"
#include "omPanel.h"

// The captions that every page with them shares.
inline const char* const CancelCaption = "Отмена";
inline const char* const BackCaption = "<Назад";

// Colours of the pages: white, and the system's button face and window.
constexpr int32_t clWhite = 0xFFFFFF;
constexpr int32_t clButtonFace = int32_t(0xFF00000F);
constexpr int32_t clWindow = int32_t(0xFF000005);

// Arial, black, default charset; bold with style 1.
TFontRec Arial(uint8_t size, uint8_t style = 0, int32_t color = 0);

// A container's host panel, set up and initialised at once, before the
// container's other elements, which are children of its window: no caption,
// a raised 1-pixel inner bevel inside a 1-pixel band of the button face,
// Arial 8.
TOMPanel* PagePanel(TOMPanel* panel, int32_t left, int32_t top, int32_t width, int32_t height, bool visible = true);

// What a navigation button answers besides a click: the forward button of a
// page is its default button (Enter), Cancel its cancel button (Escape).
enum TButtonKey { bkNone, bkEnter, bkEscape };

// A navigation button: 75 x 25 on the frame's bottom edge, Arial 8.
void NavigationButton(TOMButton& button, int32_t left, const char* caption, const TData& data, TButtonKey key,
                      const TPointLink& click);

// A body text: fixed bounds, aligned left, wrapped.
void BodyLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, int32_t color,
               const TFontRec& font, const std::string& caption);
// A line on the button face that takes the size of its text.
void AutoSizeLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, uint8_t fontSize,
                   const std::string& caption);

// The side picture of the welcome and finish bodies: the bitmap fitted into
// 175 x 285 on white, its left 5 pixels under the frame's edge.
// The picture's words, which exist only as its pixels, are its name for a screen reader.
void SidePicture(TOMImage& picture, const std::string& bitmap, const std::string& words);

// A multi-element that builds its inner container at once, with the links of
// its outEvent[i] and getData[i].
void HostContainer(TOMMultiElement& host, TCreateInner create, std::initializer_list<TPointLink> events = {},
                   std::initializer_list<TPointLink> data = {});

// A hub with its outputs in firing order.
void SetHub(TOMHub& hub, uint8_t inputs, std::initializer_list<TPointLink> steps);

// A format element whose placeholders %1, %2... read the given points; it
// goes on after an inserted text.
void SetFormat(TOMFormatStr& format, const char* mask, std::initializer_list<TPointLink> placeholders,
               const TPointLink& out);

// The product's folder, made under the folder the user chooses, and the
// product's program file in it.
constexpr char ProductName[] = "Сорванта v2.1"; // as the shortcut, a side picture and the system's list name it
constexpr char ProductFolder[] = "Varkelo";
constexpr char ProgramFileName[] = "Zelcap2-1.exe";
// Its entry's key in the system's list of installed programs.
constexpr char ProductKey[] = "Sorvanta";
// The folder the folder page offers, and /S installs into without /D=: where
// the system's list names an installation whose product folder is there with
// its program, the folder holding that product folder (an upgrade goes where
// the product is); else the system's folder for programs.
std::string OfferedFolder();
// The mask of a path in the product folder, the chosen folder being %1:
// "%1\<product folder>", and "\" + path when there is one.
std::string ProductPath(const char* path = "");
// A format element of such a path, as SetFormat.
void SetProductPath(TOMFormatStr& format, const char* path, std::initializer_list<TPointLink> placeholders,
                    const TPointLink& out);

// A page container: the host panel, made and set up first (PagePanel), then
// the bridge; the derived container declares its other elements in creation
// order after them.
class TPageContainer : public TSchemeContainer {
public:
  TOMPanel* const Panel;
  TOMEditMulti* const EditMulti = MakeBridge();

protected:
  TPageContainer(TWindowObject* parent, int32_t left, int32_t top, int32_t width, int32_t height, bool visible)
      : Panel(PagePanel(MakeHost<TOMPanel>(parent), left, top, width, height, visible)) {}
  TWindowObject* Host() const { return Panel->Control; }
};

// The body of the welcome and of the finish page: the side picture beside a
// title and a text, on a panel as large as the frame above its buttons.
class TSidePictureBody : public TPageContainer {
public:
  TOMLabel* const TitleLabel = Make<TOMLabel>(Host());
  TOMImage* const Picture = Make<TOMImage>(Host());
  TOMLabel* const Text = Make<TOMLabel>(Host());

protected:
  explicit TSidePictureBody(TWindowObject* parent) : TPageContainer(parent, 0, 0, 440, 290, true) {}
};
