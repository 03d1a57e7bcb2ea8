// TOMMainForm: the program's top-level window, its start-up and its end.
#pragma once

#include "Bitmap.h"
#include "Win.h"

class TOMMainForm;
using TPositionRoutine = void (*)(TOMMainForm* form);

// Places the form in the middle of the screen (the scheme's Position routine).
void ScreenCenterPosition(TOMMainForm* form);

class TOMMainForm : public TOMWin {
public:
  explicit TOMMainForm(TWindowObject* parent = nullptr);
  ~TOMMainForm() override;

  bool OwnsApplication = false;
  bool FirstShowDone = false;
  bool IconSet = false;
  uint8_t CloseMode = 0;
  bool DragByClient = false;
  uint8_t Opacity = 255;
  uint8_t WindowState = 0;
  TBitmapObject* BackgroundPicture = nullptr; // not owned; never set here
  bool ClientSize = false;
  TPositionRoutine Position = nullptr;
  TPointLink getBlockClose;
  TPointLink outActivate, outDeactivate, outShow, outCreate, outMove, outPaint, outClose;

  void SetCaption(const std::string& caption);
  void SetIcon(HICON icon);
  void SetBorderStyle(uint8_t borderStyle);
  void SetTaskbarHidden(uint8_t hidden);

  void MouseDown(TWindowObject* sender, const TMouseEvent& event) override;
  bool MessageHook(TWindowObject* sender, TMessage& message) override;
  void Init() override;

  void inClose(TData& value, uint16_t index);
  void Start(); // after the scheme is built, before the application runs its loop

private:
  void FirstShow(TWindowObject* sender);
  void Paint(TWindowObject* sender, HDC dc);
  void FormDestroyed(TWindowObject* sender);
  void AppDestroyed(TWindowObject* sender);
  void NotifyCreate();
  bool CloseQuery(); // true when the close is accepted

  TFormObject* FormObject = nullptr; // kept after Control is cleared on close
  TFormObject* AppObject = nullptr;  // the application window this form made
  bool PaintAttached = false;
};
