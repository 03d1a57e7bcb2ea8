#include "Wizard.h"

#include "omChildPanel_431CE60.h"
#include "omChildPanel_47F64A8.h"
#include "omChildPanel_4FD97A4.h"
#include "omChildPanel_50BE488.h"

void TPageProbe::inEvent(TData& value, uint16_t index) { Owner->OnEvent(Page, index, value); }

namespace {

struct TPageSetup {
  TCreateInner Create;
  uint16_t EventCount;
  const char* Anchor; // a button only this frame has
};

// As the main scheme hosts them: counts of outEvent and getData, and the
// order in which it builds them (welcome, folder, licence, finish).
const TPageSetup Setups[PageCount] = {
    {&CreateContainer<TClassChildPanel_431CE60>, 2, texts::Next},
    {&CreateContainer<TClassChildPanel_50BE488>, 3, texts::Agree},
    {&CreateContainer<TClassChildPanel_4FD97A4>, 3, texts::Install},
    {&CreateContainer<TClassChildPanel_47F64A8>, 1, texts::Done},
};
const TPage BuildOrder[PageCount] = {pgWelcome, pgFolder, pgLicence, pgFinish};

} // namespace

TWizard::TWizard() {
  // The main scheme's form: 440 x 351, fixed single frame, centred.
  Form = std::make_unique<TOMMainForm>();
  Form->Left = 64;
  Form->Top = 80;
  Form->Width = 440;
  Form->Height = 351;
  Form->Color = int32_t(0xFF00000F);
  Form->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
  Form->SetCaption("Pages");
  Form->SetBorderStyle(1);
  Form->Position = &ScreenCenterPosition;
  Form->Init();

  for (int p = 0; p < PageCount; ++p) Pages[p] = std::make_unique<TOMMultiElement>(Form->Control);
  for (TPage p : BuildOrder) {
    Probes[p].Owner = this;
    Probes[p].Page = p;
    TOMMultiElement& page = *Pages[p];
    page.CreateOnFirstUse = false;
    page.SetCreateInner(Setups[p].Create);
    page.SetEventCount(Setups[p].EventCount);
    page.SetDataCount(0);
    for (uint16_t i = 0; i < Setups[p].EventCount; ++i)
      page.EventLinks[i] = MakePointLink<&TPageProbe::inEvent>(i, &Probes[p]);
  }

  Form->Start();
  ShowApplicationWindows(ApplicationWindow);
  Pump();

  FormHandle = Form->Control->GetHandle();
  for (int p = 0; p < PageCount; ++p)
    Frames[p] = GetParent(FindDescendant(FormHandle, "Button", Setups[p].Anchor));
}

TWizard::~TWizard() {
  for (auto& page : Pages) page.reset();
  Form.reset();
  StopDispatch();
  ResetTerminated();
}

void TWizard::Show(TPage page, int32_t on) {
  TData value = IntegerData(on);
  Pages[page]->inWork(value, 0);
  Pump();
}

bool TWizard::Visible(TPage page) const { return Frames[page] && IsWindowVisible(Frames[page]); }

int TWizard::VisibleCount() const {
  int n = 0;
  for (int p = 0; p < PageCount; ++p) n += Visible(TPage(p));
  return n;
}

void TWizard::Click(TPage page, const char* caption) {
  HWND button = FindDescendant(Frames[page], "Button", caption);
  if (button) SendMessageA(button, BM_CLICK, 0, 0);
  Pump();
}

void TWizard::OnEvent(TPage page, uint16_t index, TData& value) {
  TPageEvent event{page, index, value, {}};
  for (int p = 0; p < PageCount; ++p) event.Visible[p] = Visible(TPage(p));
  Events.push_back(event);
  if (!Navigate) return;
  // The main scheme's data senders: integer 1 into the next page's inWork[0].
  if ((page == pgWelcome && index == 0) || (page == pgFolder && index == 1)) Show(pgLicence);
  else if (page == pgLicence && index == 0) Show(pgFolder);
  else if (page == pgLicence && index == 1) Show(pgWelcome);
  else if (page == pgFolder && index == 0) Show(pgFinish);
}

// ------------------------------------------------------------- look-ups
std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(size_t(length) + 1, '\0');
  text.resize(size_t(GetWindowTextA(hwnd, &text[0], length + 1)));
  return text;
}

bool IsClass(HWND hwnd, const char* className) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return lstrcmpiA(name, className) == 0;
}

namespace {

struct TSearch {
  const char* ClassName;
  const std::function<bool(HWND)>& Match;
  HWND Found;
};

BOOL CALLBACK SearchChild(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<TSearch*>(lParam);
  if (!IsClass(hwnd, search.ClassName) || (search.Match && !search.Match(hwnd))) return TRUE;
  search.Found = hwnd;
  return FALSE;
}

} // namespace

HWND FindChild(HWND root, const char* className, const std::function<bool(HWND)>& match) {
  TSearch search{className, match, nullptr};
  if (root) EnumChildWindows(root, &SearchChild, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND FindDescendant(HWND root, const char* className, const std::string& text) {
  return FindChild(root, className, [&text](HWND hwnd) { return WindowText(hwnd) == text; });
}

RECT RectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectRect(HWND hwnd, LONG left, LONG top, LONG width, LONG height, const std::string& what) {
  const RECT r = RectInParent(hwnd);
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right - r.left, width) << what;
  EXPECT_EQ(r.bottom - r.top, height) << what;
}

// Lets pending messages run and every form paint what is invalid.
void Pump() {
  ProcessMessages();
  if (ApplicationWindow) {
    for (TWindowObject* form : ApplicationWindow->Children())
      if (form->PeekHandle()) RedrawWindow(form->PeekHandle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  ProcessMessages();
}

// ---------------------------------------------------------------- pixels
COLORREF TPixels::At(int x, int y) const {
  uint32_t v = Bits[size_t(y) * size_t(Width) + size_t(x)];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

TPixels Capture(int width, int height, const std::function<void(HDC)>& fill) {
  TPixels pixels;
  pixels.Width = width;
  pixels.Height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP surface = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, surface);
  fill(dc);
  GdiFlush();
  const auto* words = static_cast<const uint32_t*>(bits);
  pixels.Bits.assign(words, words + size_t(width) * size_t(height));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(surface);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TPixels PrintClient(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return Capture(r.right, r.bottom, [hwnd](HDC dc) {
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

TPixels CaptureWindow(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return Capture(r.right - r.left, r.bottom - r.top, [&r, hwnd](HDC dc) {
    HDC window = GetWindowDC(hwnd);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
  });
}

int64_t ExpectedFreeMegabytes(const std::string& root) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return 0;
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) return 0;
  const uint64_t clusterBytes = uint64_t(sectorsPerCluster) * bytesPerSector;
  const uint64_t clusters = available.QuadPart / clusterBytes;
  return int64_t((clusters / 1024) * clusterBytes / 1024);
}
