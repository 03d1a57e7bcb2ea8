// The four page frames hosted in a main form the way the main scheme hosts
// them, with probes on every outEvent, and the Win32 look-ups the page tests
// check them through.
#pragma once

#include <array>
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
extern const char* const Cancel;
extern const char* const Next;
extern const char* const Agree;
extern const char* const Back;
extern const char* const Install;
extern const char* const Done;
extern const char* const Browse;
extern const char* const FreePrefix; // "Свободно: "
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

  void Show(TPage page);     // inWork[0] with integer 1
  void Hide(TPage page);     // inWork[0] with integer 0
  bool Visible(TPage page) const;
  int VisibleCount() const;
  void Click(TPage page, const char* caption);
  void OnEvent(TPage page, uint16_t index, TData& value);
};

// --- Win32 look-ups, independent of the window layer ---
std::string WindowText(HWND hwnd);
bool IsClass(HWND hwnd, const char* className);
// The first descendant of root of this class with exactly this text.
HWND FindDescendant(HWND root, const char* className, const std::string& text);
// The first descendant of root of this class whose client area is w x h.
HWND FindBySize(HWND root, const char* className, int width, int height);
// The first descendant whose text starts with prefix.
HWND FindByPrefix(HWND root, const char* className, const std::string& prefix);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
void Pump();

// --- pixels ---
struct TPixels {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Bits; // 0x00RRGGBB, top-down
  COLORREF At(int x, int y) const;
};
// The client area as the window paints it into a memory surface.
TPixels PrintClient(HWND hwnd);
// The window as it stands on screen: frame, caption and children.
TPixels CaptureWindow(HWND hwnd);
bool WriteBmp(const TPixels& pixels, const std::string& path);

// Free megabytes of a drive by the disk element's formula, from the figures
// the system reports: (free clusters / 1024) x cluster bytes / 1024.
int64_t ExpectedFreeMegabytes(const std::string& root);
