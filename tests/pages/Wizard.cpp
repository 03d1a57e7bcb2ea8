#include "Wizard.h"

#include <cstdio>

#include "omChildPanel_431CE60.h"
#include "omChildPanel_47F64A8.h"
#include "omChildPanel_4FD97A4.h"
#include "omChildPanel_50BE488.h"

namespace texts {
const char* const Cancel = "\xCE\xF2\xEC\xE5\xED\xE0";                 // Отмена
const char* const Next = "\xC4\xE0\xEB\xE5\xE5>";                      // Далее>
const char* const Agree = "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED";          // Согласен
const char* const Back = "<\xCD\xE0\xE7\xE0\xE4";                      // <Назад
const char* const Install = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC"; // Установить
const char* const Done = "\xC3\xEE\xF2\xEE\xE2\xEE";                   // Готово
const char* const Browse = "\xCE\xE1\xE7\xEE\xF0";                     // Обзор
const char* const FreePrefix = "\xD1\xE2\xEE\xE1\xEE\xE4\xED\xEE: ";   // Свободно:
} // namespace texts

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
    {&TClassChildPanel_431CE60::Create, 2, texts::Next},
    {&TClassChildPanel_50BE488::Create, 3, texts::Agree},
    {&TClassChildPanel_4FD97A4::Create, 3, texts::Install},
    {&TClassChildPanel_47F64A8::Create, 1, texts::Done},
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

void TWizard::Show(TPage page) {
  TData value = IntegerData(1);
  Pages[page]->inWork(value, 0);
  Pump();
}

void TWizard::Hide(TPage page) {
  TData value = IntegerData(0);
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
  bool (*Match)(HWND hwnd, const TSearch& search);
  std::string Text;
  int Width = 0, Height = 0;
  HWND Found = nullptr;
};

BOOL CALLBACK SearchChild(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<TSearch*>(lParam);
  if (IsClass(hwnd, search.ClassName) && search.Match(hwnd, search)) {
    search.Found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Search(HWND root, TSearch search) {
  if (root) EnumChildWindows(root, &SearchChild, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

} // namespace

HWND FindDescendant(HWND root, const char* className, const std::string& text) {
  TSearch search{className, [](HWND hwnd, const TSearch& s) { return WindowText(hwnd) == s.Text; }, text};
  return Search(root, search);
}

HWND FindBySize(HWND root, const char* className, int width, int height) {
  TSearch search{className,
                 [](HWND hwnd, const TSearch& s) {
                   RECT r;
                   GetClientRect(hwnd, &r);
                   return r.right == s.Width && r.bottom == s.Height;
                 },
                 std::string(), width, height};
  return Search(root, search);
}

HWND FindByPrefix(HWND root, const char* className, const std::string& prefix) {
  TSearch search{className,
                 [](HWND hwnd, const TSearch& s) { return WindowText(hwnd).compare(0, s.Text.size(), s.Text) == 0; },
                 prefix};
  return Search(root, search);
}

RECT RectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
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

namespace {

// A top-down 32-bit surface of w x h; fill copies into it.
template <class F> TPixels Capture(int width, int height, F fill) {
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

} // namespace

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

// 24 bits per pixel, bottom-up: what every viewer reads without an alpha
// channel to misread.
bool WriteBmp(const TPixels& pixels, const std::string& path) {
  const size_t stride = (size_t(pixels.Width) * 3 + 3) & ~size_t(3);
  std::vector<uint8_t> data(stride * size_t(pixels.Height), 0);
  for (int y = 0; y < pixels.Height; ++y) {
    uint8_t* row = &data[stride * size_t(pixels.Height - 1 - y)];
    for (int x = 0; x < pixels.Width; ++x) {
      uint32_t v = pixels.Bits[size_t(y) * size_t(pixels.Width) + size_t(x)];
      row[x * 3] = uint8_t(v);
      row[x * 3 + 1] = uint8_t(v >> 8);
      row[x * 3 + 2] = uint8_t(v >> 16);
    }
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = pixels.Width;
  header.biHeight = pixels.Height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = DWORD(file.bfOffBits + data.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&header, sizeof(header), 1, out) == 1 &&
            std::fwrite(data.data(), 1, data.size(), out) == data.size();
  return std::fclose(out) == 0 && ok;
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
