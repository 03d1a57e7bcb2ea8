// TOMWin: the base of every window element. It owns one window object of the
// window layer, applies its design-time properties to it in Init and turns
// window notifications into output points.
#pragma once

#include <cstdint>
#include <string>

#include "Share.h"
#include "Window.h"

class TOMWin : public TOMObject {
public:
  explicit TOMWin(TWindowObject* parent);
  ~TOMWin() override;

  TWindowObject* Parent = nullptr;
  THookHandler SavedMessageHook;
  TMouseEvent MouseState;
  bool HintTool = false; // the tooltip was registered for this element
  TWindowObject* Control = nullptr; // cleared when the window object is freed

  int32_t Left = 0, Top = 0;
  int32_t Width = 0, Height = 0; // 0 keeps the window object's default
  uint8_t Align = 0;
  int32_t TabOrder = 0;
  int32_t Color = 0;
  uint8_t Ctl3D = 1; // 0 = sunken 3-D client edge
  std::string Hint;
  TFontRec Font;
  bool ParentFont = false;
  bool Transparent = false;
  bool Visible = true;
  bool Enabled = true;
  uintptr_t Cursor = 0;
  bool MouseCapture = false;
  // What a screen reader names the element by: the element that shows its
  // label, or, where none does, the words a person reads on it (a picture's).
  TOMWin* Label = nullptr;
  std::string AccessibleName;

  TPointLink outKeyDown, outKeyUp, outMouseDown, outMouseMove, outMouseUp;
  TPointLink outSetFocus, outKillFocus, outDblClick, outResize;

  // What a kind of window element may do its own way: the keys and the mouse,
  // the window's messages before the layer handles them, and applying its
  // properties.
  virtual void KeyDown(TWindowObject* sender, uint16_t& key, uint32_t shift);
  virtual void KeyUp(TWindowObject* sender, uint16_t& key, uint32_t shift);
  virtual void MouseDown(TWindowObject* sender, const TMouseEvent& event);
  virtual void MouseMove(TWindowObject* sender, const TMouseEvent& event);
  virtual void MouseUp(TWindowObject* sender, const TMouseEvent& event);
  virtual bool MessageHook(TWindowObject* sender, TMessage& message);
  virtual void Init();

  void inVisible(TData& value, uint16_t index);
  void varHandle(TData& value, uint16_t index);

protected:
  void AttachBaseHandlers(bool destroyed); // Init's first step, before any property
  void ApplyFont();                        // the font after the other properties
  void DblClick(TWindowObject* sender, const TMouseEvent& event);
  void Resized(TWindowObject* sender);
  void Destroyed(TWindowObject* sender);
  bool CallMessageHook(TWindowObject* sender, TMessage& message);
};
