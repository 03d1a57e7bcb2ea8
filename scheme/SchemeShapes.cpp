#include "SchemeShapes.h"

#include <windows.h>

#include "Paths.h"
#include "Resources.h"
#include "omDir.h"
#include "omUninstall.h"

TFontRec Arial(uint8_t size, uint8_t style, int32_t color) { return MakeFontRec("Arial", size, style, color, 1); }

TOMPanel* PagePanel(TOMPanel* panel, int32_t left, int32_t top, int32_t width, int32_t height, bool visible) {
  panel->Left = left;
  panel->Top = top;
  panel->Width = width;
  panel->Height = height;
  panel->Caption = "";
  panel->BevelOuter = 0;
  panel->BevelInner = 2;
  panel->BevelWidth = 1;
  panel->BorderWidth = 1;
  panel->BorderStyle = 0;
  panel->Alignment = 0;
  panel->Color = clButtonFace;
  panel->Font = Arial(8);
  panel->Visible = visible;
  panel->Init();
  return panel;
}

void NavigationButton(TOMButton& button, int32_t left, const char* caption, const TData& data, TButtonKey key,
                      const TPointLink& click) {
  button.Left = left;
  button.Top = 290;
  button.Width = 75;
  button.Height = 25;
  button.Font = Arial(8);
  button.Data = data;
  button.Default = key == bkEnter;
  button.Cancel = key == bkEscape;
  button.SetCaption(caption);
  button.Init();
  button.outClick = click;
}

namespace {

void SetLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, int32_t color,
              const TFontRec& font, bool autoSize, const std::string& caption) {
  label.Left = left;
  label.Top = top;
  label.Width = width;
  label.Height = height;
  label.Color = color;
  label.Font = font;
  label.SetAutoSize(autoSize);
  label.SetAlignment(0);
  label.Caption = caption;
  label.Init();
}

} // namespace

void BodyLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, int32_t color,
               const TFontRec& font, const std::string& caption) {
  SetLabel(label, left, top, width, height, color, font, false, caption);
}

void AutoSizeLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, uint8_t fontSize,
                   const std::string& caption) {
  SetLabel(label, left, top, width, height, clButtonFace, Arial(fontSize), true, caption);
}

void SidePicture(TOMImage& picture, const std::string& bitmap, const std::string& words) {
  picture.Left = -5;
  picture.Top = 0;
  picture.Width = 175;
  picture.Height = 285;
  picture.Color = clWhite;
  picture.DrawMode = &DrawProportional;
  picture.KeepSize = 1;
  picture.ResizeCanvas = 0;
  picture.AccessibleName = words;
  picture.SetPicture(LoadResourceBitmap(bitmap));
  picture.Init();
}

void HostContainer(TOMMultiElement& host, TCreateInner create, std::initializer_list<TPointLink> events,
                   std::initializer_list<TPointLink> data) {
  host.CreateOnFirstUse = false;
  host.SetCreateInner(create);
  host.SetEventCount(uint16_t(events.size()));
  host.SetDataCount(uint16_t(data.size()));
  host.EventLinks.assign(events);
  host.DataLinks.assign(data);
}

void SetHub(TOMHub& hub, uint8_t inputs, std::initializer_list<TPointLink> steps) {
  hub.InputCount = inputs;
  hub.SetOutputCount(uint8_t(steps.size()));
  hub.outStep.assign(steps);
}

std::string ProductPath(const char* path) {
  return std::string("%1\\") + ProductFolder + (*path ? "\\" : "") + path;
}

void SetProductPath(TOMFormatStr& format, const char* path, std::initializer_list<TPointLink> placeholders,
                    const TPointLink& out) {
  SetFormat(format, ProductPath(path).c_str(), placeholders, out);
}

void SetFormat(TOMFormatStr& format, const char* mask, std::initializer_list<TPointLink> placeholders,
               const TPointLink& out) {
  format.SetPointCount(int32_t(placeholders.size()));
  format.Mask = mask;
  format.SkipInserted = true;
  format.getStr.assign(placeholders);
  format.outString = out;
}

std::string OfferedFolder() {
  const std::string product = EntryLocation(ProductKey);
  const size_t cut = product.find_last_of('\\');
  if (cut != std::string::npos && cut > 1 && lstrcmpiW(WideOf(product.substr(cut + 1)).data(), WideOf(ProductFolder).data()) == 0 &&
      FileExists(product + "\\" + ProgramFileName))
    return product.substr(0, cut == 2 ? 3 : cut); // a drive's root keeps its backslash
  return ProgramFilesFolder();
}
