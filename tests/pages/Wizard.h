// The four page frames hosted in a main form the way the main scheme hosts
// them, with probes on every outEvent, and the Win32 look-ups the page tests
// check them through.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Share.h"
#include "Window.h"
#include "omMainForm.h"
#include "omMultiElement.h"

enum TPage { pgWelcome, pgLicence, pgFolder, pgFinish };
constexpr int PageCount = 4;

// CP1251 texts the tests look for.
namespace texts {
inline const char* const Cancel = "\xCE\xF2\xEC\xE5\xED\xE0";                 // Отмена
inline const char* const Next = "\xC4\xE0\xEB\xE5\xE5>";                      // Далее>
inline const char* const Agree = "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED";          // Согласен
inline const char* const Back = "<\xCD\xE0\xE7\xE0\xE4";                      // <Назад
inline const char* const Install = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC"; // Установить
inline const char* const Done = "\xC3\xEE\xF2\xEE\xE2\xEE";                   // Готово
inline const char* const Browse = "\xCE\xE1\xE7\xEE\xF0";                     // Обзор
inline const char* const FreePrefix = "\xD1\xE2\xEE\xE1\xEE\xE4\xED\xEE: ";   // Свободно:
} // namespace texts

struct TPageEvent {
  TPage Page;
  uint16_t Index;
  TData Value;
  std::array<bool, PageCount> Visible; // which frames were on screen when it fired
};

class TWizard;

// Stands where the main scheme's elements take a page's outEvent[i].
class TPageProbe : public TOMObject {
public:
  TWizard* Owner = nullptr;
  TPage Page = pgWelcome;
  void inEvent(TData& value, uint16_t index);
};

class TWizard {
public:
  TWizard();
  ~TWizard();
  TWizard(const TWizard&) = delete;
  TWizard& operator=(const TWizard&) = delete;

  std::unique_ptr<TOMMainForm> Form;
  std::array<std::unique_ptr<TOMMultiElement>, PageCount> Pages;
  std::array<TPageProbe, PageCount> Probes;
  std::vector<TPageEvent> Events;
  // On: each event shows the next page as the main scheme's data senders do.
  bool Navigate = false;

  HWND FormHandle = nullptr;
  std::array<HWND, PageCount> Frames{};

  void Show(TPage page, int32_t on = 1); // inWork[0] with this integer
  void Hide(TPage page) { Show(page, 0); }
  bool Visible(TPage page) const;
  int VisibleCount() const;
  void Click(TPage page, const char* caption);
  void OnEvent(TPage page, uint16_t index, TData& value);
};

// --- Win32 look-ups, independent of the window layer ---
std::string WindowText(HWND hwnd);
bool IsClass(HWND hwnd, const char* className);
// The first descendant of root of this class that matches.
HWND FindChild(HWND root, const char* className, const std::function<bool(HWND)>& match = nullptr);
// ... with exactly this text.
HWND FindDescendant(HWND root, const char* className, const std::string& text);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
void ExpectRect(HWND hwnd, LONG left, LONG top, LONG width, LONG height, const std::string& what = "");
void Pump();

// --- pixels ---
struct TPixels {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Bits; // 0x00RRGGBB, top-down
  COLORREF At(int x, int y) const;
};
// A top-down 32-bit surface of w x h that fill draws into.
TPixels Capture(int width, int height, const std::function<void(HDC)>& fill);
// The client area as the window paints it into a memory surface.
TPixels PrintClient(HWND hwnd);
// The window as it stands on screen: frame, caption and children.
TPixels CaptureWindow(HWND hwnd);

// Free megabytes of a drive by the disk element's formula, from the figures
// the system reports: (free clusters / 1024) x cluster bytes / 1024.
int64_t ExpectedFreeMegabytes(const std::string& root);
