// The installer's two heavy moments, timed in-process beside floors of plain
// Win32 calls measured in the same run:
//  1. building (and freeing) the whole root container with every resource it
//     loads, against a bare 440x351 window created, shown and destroyed plus
//     the copying of every type-100 resource and the loading of the two
//     bitmaps;
//  2. the Install chain from the button's click to its return (program file,
//     installation sequence, finish page, dir.ini), against writing the same
//     bytes to the same tree, each file whole or not at all as the installer
//     writes them (a temporary file beside it, moved over it), with
//     CreateDirectoryW, CreateFileW/WriteFile, MoveFileExW, the shell-link
//     object and WritePrivateProfileStringW.
// Self-timed with QueryPerformanceCounter; prints min and median per figure.
// Usage: bench_scheme [construction-repetitions [install-repetitions]]
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Container.h"
#include "Files.h"
#include "Resources.h"
#include "Window.h"
#include "omChildGroupBox_2F7DC8C.h"
#include "omChildPanel_431CE60.h"
#include "omChildPanel_47F64A8.h"
#include "omChildPanel_4E89C48.h"
#include "omChildPanel_4FD97A4.h"
#include "omChildPanel_50BE488.h"
#include "omMainForm_6E2E74C.h"
#include "omMultiElement_4DC2A30.h"
#include "omMultiElement_5022298.h"

namespace {

// ------------------------------------------------------------------ timing
double TicksPerMs() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(frequency.QuadPart) / 1000.0;
}

double NowMs() {
  static const double perMs = TicksPerMs();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / perMs;
}

struct TSamples {
  std::vector<double> Ms;
  double Min() const { return Ms.empty() ? 0 : *std::min_element(Ms.begin(), Ms.end()); }
  double Median() const {
    if (Ms.empty()) return 0;
    std::vector<double> sorted = Ms;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
};

void PrintRow(const char* name, const TSamples& s) {
  std::printf("  %-46s min %9.3f ms   median %9.3f ms   (n=%zu)\n", name, s.Min(), s.Median(), s.Ms.size());
}

// Handles what the windows have queued, as the message loop would between
// two user actions; never part of a timed region.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// ------------------------------------------------------------ file helpers
// One file of an installed tree, relative to the product folder.
struct TTreeFile {
  std::string Path;
  std::string Bytes;
};

// Every entry of a tree, folders and files, dir.ini among them.
size_t CountTree(const std::string& root) { return files::Tree(root).size(); }

// ------------------------------------------------------- desktop location
// The shortcut goes to the shell-folders record's Desktop value; for the
// run it points into the benchmark's own folder, and is restored after.
class TDesktopValue {
public:
  static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  explicit TDesktopValue(const std::string& folder) {
    RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &FKey, nullptr);
    DWORD size = sizeof FOld;
    FHad = RegQueryValueExA(FKey, "Desktop", nullptr, &FType, reinterpret_cast<BYTE*>(FOld), &size) ==
           ERROR_SUCCESS;
    FSize = size;
    RegSetValueExA(FKey, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   DWORD(folder.size() + 1));
  }
  ~TDesktopValue() {
    if (FHad) RegSetValueExA(FKey, "Desktop", 0, FType, reinterpret_cast<BYTE*>(FOld), FSize);
    else RegDeleteValueA(FKey, "Desktop");
    RegCloseKey(FKey);
  }
  TDesktopValue(const TDesktopValue&) = delete;
  TDesktopValue& operator=(const TDesktopValue&) = delete;

private:
  HKEY FKey = nullptr;
  bool FHad = false;
  DWORD FType = 0, FSize = 0;
  char FOld[1024] = {};
};

// --------------------------------------------------------- shell links
// The same calls the shortcut element makes, component services included.
// A file's temporary name beside it, and the move over it once written.
std::wstring TempOf(const std::string& path) { return files::Wide(path + ".1.~tmp"); }
void MoveOver(const std::string& path) {
  MoveFileExW(TempOf(path).c_str(), files::Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}

void WriteLink(const std::string& linkFile, const files::TLink& facts) {
  HRESULT initialised = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                 IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
    link->SetPath(files::Wide(facts.Path).c_str());
    link->SetWorkingDirectory(files::Wide(facts.WorkDir).c_str());
    link->SetDescription(files::Wide(facts.Description).c_str());
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Save(TempOf(linkFile).c_str(), FALSE))) MoveOver(linkFile);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
}

// ----------------------------------------------------- scheme navigation
template <class C> C& InnerOf(TOMMultiElement& host) { return *static_cast<C*>(host.Inner->Container); }

HWND HandleOf(TOMWin& element) { return element.Control ? element.Control->GetHandle() : nullptr; }

void Click(TOMWin& button) { SendMessageA(HandleOf(button), BM_CLICK, 0, 0); }

bool Shown(TOMWin& panel) {
  HWND handle = panel.Control ? panel.Control->PeekHandle() : nullptr;
  return handle && IsWindowVisible(handle);
}

TOMEdit& FolderField(TClassMainForm_6E2E74C& scheme) {
  auto& frame = InnerOf<TClassChildPanel_4FD97A4>(*scheme.FolderPage);
  auto& body = InnerOf<TClassChildPanel_4E89C48>(*frame.BodyHost);
  return *InnerOf<TClassChildGroupBox_2F7DC8C>(*body.GroupHost).FolderField;
}

// Only the folder page on screen.
bool AtFolderPage(TClassMainForm_6E2E74C& scheme) {
  return Shown(*InnerOf<TClassChildPanel_4FD97A4>(*scheme.FolderPage).Panel) &&
         !Shown(*InnerOf<TClassChildPanel_431CE60>(*scheme.WelcomePage).Panel) &&
         !Shown(*InnerOf<TClassChildPanel_50BE488>(*scheme.LicencePage).Panel) &&
         !Shown(*InnerOf<TClassChildPanel_47F64A8>(*scheme.FinishPage).Panel);
}

// A started scheme with the folder page on screen, reached through Next and
// Agree, and the folder field holding the given folder.
std::unique_ptr<TClassMainForm_6E2E74C> SchemeAtFolderPage(const std::string& folder) {
  auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
  scheme->MainForm->Start();
  ShowApplicationWindows(ApplicationWindow);
  Pump();
  Click(*InnerOf<TClassChildPanel_431CE60>(*scheme->WelcomePage).NextButton);
  Pump();
  Click(*InnerOf<TClassChildPanel_50BE488>(*scheme->LicencePage).AgreeButton);
  Pump();
  // The field is disabled for the user; its text is set as Browse sets it,
  // which fires the field's change handler.
  SetWindowTextA(HandleOf(FolderField(*scheme)), folder.c_str());
  Pump();
  return scheme;
}

// Frees a scheme the way the entry does once the loop has ended: dispatching
// stops first, so nothing fires while the elements go.
void FreeScheme(std::unique_ptr<TClassMainForm_6E2E74C>& scheme) {
  StopDispatch();
  scheme.reset();
  Pump();
}

// ============================================================ construction
volatile char CopySink = 0;

// The data items the scheme reads as it is built: STR1..STR37 and the
// pictures STREAM1..STREAM3 (the program file, STREAM0, only when it is written).
std::vector<std::string> DataNames() {
  std::vector<std::string> names;
  for (int i = 1; i <= 37; ++i) names.push_back("STR" + std::to_string(i));
  for (int i = 1; i <= 3; ++i) names.push_back("STREAM" + std::to_string(i));
  return names;
}

// Those data items unpacked or copied out of the payload, and the two side
// pictures unpacked: the least the scheme's building has to do with them.
size_t CopyResources(const std::vector<std::string>& names) {
  size_t copied = 0;
  for (const std::string& name : names) {
    std::unique_ptr<TByteStream> stream = LoadResourceStream(name);
    const int64_t size = stream->Size();
    if (size) CopySink = CopySink + char(stream->Memory()[size / 2]); // keeps the copy from being optimised away
    copied += size_t(size);
  }
  for (const char* name : {"BITMAP0", "BITMAP1"}) {
    HBITMAP bitmap = LoadResourceBitmap(name);
    if (bitmap) DeleteObject(bitmap);
  }
  return copied;
}

LRESULT CALLBACK BareProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

void BareWindow() {
  HWND window = CreateWindowExA(0, "OmbrelBenchBare", "bench", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                440, 351, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOW);
  DestroyWindow(window);
}

// The windows the form itself needs, made with plain calls: the application
// window (zero-sized but visible, so that it carries the taskbar button), the
// form it owns (not shown), the program icon on both, the form sized and
// centred in one move, then both destroyed. Beside the floors: the window
// system's share that any build of this form pays.
void PlainFormWindows() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND app = CreateWindowExA(WS_EX_APPWINDOW, "OmbrelBenchBare", "app",
                             WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                             nullptr, instance, nullptr);
  HWND form = CreateWindowExA(0, "OmbrelBenchBare", "form", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                              0, 0, 440, 351, app, nullptr, instance, nullptr);
  HICON icon = static_cast<HICON>(LoadImageA(instance, "ICON0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  SendMessageA(app, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SetWindowPos(form, nullptr, (GetSystemMetrics(SM_CXSCREEN) - 440) / 2, (GetSystemMetrics(SM_CYSCREEN) - 351) / 2,
               440, 351, SWP_NOZORDER | SWP_NOACTIVATE);
  DestroyWindow(form);
  DestroyWindow(app);
  DestroyIcon(icon);
}

// The two non-visual installation containers alone, each hosted by a
// multi-element as the root container hosts them: the share of building
// that is theirs (they read the program file, the texts and the pictures).
void InstallationContainers() {
  TOMMultiElement writer, installation;
  writer.CreateOnFirstUse = false;
  writer.SetEventCount(1);
  writer.SetDataCount(1);
  writer.SetCreateInner(&CreateContainer<TClassMultiElement_4DC2A30>);
  installation.CreateOnFirstUse = false;
  installation.SetEventCount(1);
  installation.SetDataCount(1);
  installation.SetCreateInner(&CreateContainer<TClassMultiElement_5022298>);
}

// The host alone: the main form element set up as the root container sets
// it up (caption, border, icon, font, size, centred), then freed.
void MainFormAlone() {
  auto form = std::make_unique<TOMMainForm>(nullptr);
  form->Width = 440;
  form->Height = 351;
  form->Color = static_cast<int32_t>(0xFF00000F);
  form->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
  form->SetCaption("Установка программы Сорванта");
  form->SetBorderStyle(1);
  form->SetIcon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "ICON0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  form->Position = &ScreenCenterPosition;
  form->Init();
  RunDeferredInits();
  form.reset();
}

// The four page frames with their bodies, built in a form made beforehand
// and freed again, as the root container builds them.
void PagesAlone(TWindowObject* form) {
  TOMMultiElement welcome(form), folder(form), licence(form), finish(form);
  folder.CreateOnFirstUse = false;
  folder.SetEventCount(3);
  folder.SetCreateInner(&CreateContainer<TClassChildPanel_4FD97A4>);
  welcome.CreateOnFirstUse = false;
  welcome.SetEventCount(2);
  welcome.SetCreateInner(&CreateContainer<TClassChildPanel_431CE60>);
  licence.CreateOnFirstUse = false;
  licence.SetEventCount(3);
  licence.SetCreateInner(&CreateContainer<TClassChildPanel_50BE488>);
  finish.CreateOnFirstUse = false;
  finish.SetEventCount(1);
  finish.SetCreateInner(&CreateContainer<TClassChildPanel_47F64A8>);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

void BenchConstruction(int repetitions) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = BareProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = "OmbrelBenchBare";
  RegisterClassA(&cls);

  const std::vector<std::string> names = DataNames();
  size_t bytes = 0, programBytes = 0;
  // The check the program makes at every start, the first one in a process
  // with the mapping of the program file.
  double t = NowMs();
  const bool intact = PayloadIntact();
  const double firstCheck = NowMs() - t;

  // Warm-up: first-use costs (classes, fonts, libraries) are not construction.
  for (int i = 0; i < 2; ++i) {
    auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
    RunDeferredInits(); // muted: nothing fires; empties the list that points into this scheme
    FreeScheme(scheme);
    BareWindow();
    Pump();
    bytes = CopyResources(names);
  }
  int windows = 0, shownWindows = 0;
  bool formWindow = false;
  {
    auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
    HWND form = scheme->MainForm->Control->PeekHandle();
    formWindow = form != nullptr;
    if (form) EnumChildWindows(form, CountChild, reinterpret_cast<LPARAM>(&windows));
    scheme->MainForm->Start();
    ShowApplicationWindows(ApplicationWindow);
    form = scheme->MainForm->Control->PeekHandle();
    if (form) EnumChildWindows(form, CountChild, reinterpret_cast<LPARAM>(&shownWindows));
    FreeScheme(scheme);
  }

  InstallationContainers();
  MainFormAlone();
  PlainFormWindows();
  TSamples build, release, total, shown, bare, copy, installers, host, pages, plain, check, unpack, texts, bitmaps;
  for (int i = 0; i < repetitions; ++i) {
    double c0 = NowMs();
    PayloadIntact();
    check.Ms.push_back(NowMs() - c0);
    c0 = NowMs();
    programBytes = size_t(LoadResourceStream("STREAM0")->Size());
    unpack.Ms.push_back(NowMs() - c0);
    // The texts' block is kept once unpacked: the program file's unpacking above let it go.
    c0 = NowMs();
    CopySink = CopySink + LoadResourceText("STR2")[0];
    texts.Ms.push_back(NowMs() - c0);
    c0 = NowMs();
    for (const char* name : {"BITMAP0", "BITMAP1"}) DeleteObject(LoadResourceBitmap(name));
    bitmaps.Ms.push_back(NowMs() - c0);

    double t0 = NowMs();
    auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
    double t1 = NowMs();
    RunDeferredInits();
    double t2 = NowMs();
    scheme.reset();
    double t3 = NowMs();
    build.Ms.push_back(t1 - t0);
    release.Ms.push_back(t3 - t2);
    total.Ms.push_back((t1 - t0) + (t3 - t2));
    Pump();

    // The same up to the window on screen: started and every native window
    // created and shown, as the message loop does first.
    t0 = NowMs();
    scheme = std::make_unique<TClassMainForm_6E2E74C>();
    scheme->MainForm->Start();
    ShowApplicationWindows(ApplicationWindow);
    StopDispatch();
    scheme.reset();
    t1 = NowMs();
    shown.Ms.push_back(t1 - t0);
    Pump();

    t0 = NowMs();
    InstallationContainers();
    t1 = NowMs();
    installers.Ms.push_back(t1 - t0);

    {
      auto form = std::make_unique<TOMMainForm>(nullptr);
      form->SetBorderStyle(1);
      form->Init();
      RunDeferredInits();
      t0 = NowMs();
      PagesAlone(form->Control);
      t1 = NowMs();
      pages.Ms.push_back(t1 - t0);
    }
    Pump();

    t0 = NowMs();
    MainFormAlone();
    t1 = NowMs();
    host.Ms.push_back(t1 - t0);
    Pump();

    t0 = NowMs();
    BareWindow();
    t1 = NowMs();
    bare.Ms.push_back(t1 - t0);
    Pump();

    t0 = NowMs();
    CopyResources(names);
    t1 = NowMs();
    copy.Ms.push_back(t1 - t0);

    t0 = NowMs();
    PlainFormWindows();
    t1 = NowMs();
    plain.Ms.push_back(t1 - t0);
    Pump();
  }

  std::printf("1. Construction of TClassMainForm_6E2E74C (%zu type-100 resources, %zu bytes; "
              "native windows right after construction: form %s, %d children; once shown: %d children)\n",
              names.size(), bytes, formWindow ? "yes" : "no", windows, shownWindows);
  PrintRow("construct", build);
  PrintRow("free", release);
  PrintRow("construct + free", total);
  PrintRow("construct + start + show all + free", shown);
  PrintRow("  of construct+free: installation containers", installers);
  PrintRow("  of construct+free: main form alone, with icon", host);
  PrintRow("  of construct+free: the four pages in a form", pages);
  PrintRow("floor (a) bare window create+show+destroy", bare);
  PrintRow("floor (b) texts unpacked, pictures copied, 2 bitmaps unpacked", copy);
  double beyondMin = total.Min() - copy.Min() - bare.Min();
  double beyondMedian = total.Median() - copy.Median() - bare.Median();
  std::printf("  work beyond the floors (construct+free - a - b): min %.3f ms, median %.3f ms; "
              "goal <= 5 ms: %s by min, %s by median\n",
              beyondMin, beyondMedian, beyondMin <= 5.0 ? "met" : "NOT met",
              beyondMedian <= 5.0 ? "met" : "NOT met");
  // Paired within each repetition, so that load from elsewhere on the
  // machine drifting between repetitions cancels out.
  TSamples paired;
  for (size_t i = 0; i < total.Ms.size(); ++i) paired.Ms.push_back(total.Ms[i] - copy.Ms[i] - bare.Ms[i]);
  std::printf("  paired per repetition: median %.3f ms beyond the floors; goal <= 5 ms: %s\n", paired.Median(),
              paired.Median() <= 5.0 ? "met" : "NOT met");
  PrintRow("beside: the form's windows by plain calls", plain);
  std::printf("  construct+free - those windows - (b): min %.3f ms, median %.3f ms\n",
              total.Min() - plain.Min() - copy.Min(), total.Median() - plain.Median() - copy.Median());
  double shownBeyond = shown.Median() - copy.Median() - bare.Median();
  std::printf("  (with start and every window shown: median %.3f ms beyond the floors)\n", shownBeyond);
  std::printf("2. The payload check at start (%s): first in the process %.3f ms\n", intact ? "intact" : "DAMAGED",
              firstCheck);
  PrintRow("payload check, every digest", check);
  std::printf("  unpacking: what the start needs, and the program file as Install writes it (%zu bytes)\n",
              programBytes);
  PrintRow("unpack the texts (one block)", texts);
  PrintRow("unpack the 2 side bitmaps", bitmaps);
  PrintRow("unpack STREAM0", unpack);
  PrintRow("beside: floor (a) bare window", bare);
  std::printf("  goal <= 5 ms: %s\n", std::max(firstCheck, check.Median()) <= 5.0 ? "met" : "NOT met");
  std::printf("\n");
}

// ================================================================ Install
const char* const LinkName = "Сорванта v2.1.lnk";

struct TFloorTree {
  std::vector<std::string> Folders; // below the product folder, parents first
  std::vector<TTreeFile> Files;     // program file first, as the writer does
  files::TLink Link;
};

struct TFloorShares {
  TSamples Files, Link, Record;
};

// The plain-Win32 floor: the same folders, bytes, shortcut and record.
void WriteFloor(const std::string& folder, const TFloorTree& tree, const std::string& linkFile,
                TFloorShares& parts) {
  double t0 = NowMs();
  std::string product = folder + "\\Varkelo";
  CreateDirectoryW(files::Wide(product).c_str(), nullptr);
  for (const std::string& sub : tree.Folders) CreateDirectoryW(files::Wide(product + "\\" + sub).c_str(), nullptr);
  for (const TTreeFile& item : tree.Files) {
    const std::string path = product + "\\" + item.Path;
    HANDLE file = CreateFileW(TempOf(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    WriteFile(file, item.Bytes.data(), DWORD(item.Bytes.size()), &written, nullptr);
    CloseHandle(file);
    MoveOver(path);
  }
  double t1 = NowMs();
  WriteLink(linkFile, tree.Link);
  double t2 = NowMs();
  const std::string record = product + "\\dir.ini";
  CopyFileW(files::Wide(record).c_str(), TempOf(record).c_str(), FALSE);
  WritePrivateProfileStringW(L"info", L"dir", files::Wide(product + "\\").c_str(), TempOf(record).c_str());
  MoveOver(record);
  double t3 = NowMs();
  parts.Files.Ms.push_back(t1 - t0);
  parts.Link.Ms.push_back(t2 - t1);
  parts.Record.Ms.push_back(t3 - t2);
}

bool BenchInstall(int repetitions) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "ombrel-bench-" + std::to_string(GetCurrentProcessId());
  files::RemoveTree(root);
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string desk = root + "\\Desk";
  CreateDirectoryA(desk.c_str(), nullptr);
  TDesktopValue desktop(desk);
  const std::string linkFile = desk + "\\" + LinkName;

  // Warm-up run: first-use costs out of the way, and the tree it writes is
  // what the floor writes.
  TFloorTree tree;
  size_t expected = 0;
  {
    std::string folder = root + "\\warm";
    CreateDirectoryA(folder.c_str(), nullptr);
    auto scheme = SchemeAtFolderPage(folder);
    bool atFolder = AtFolderPage(*scheme);
    Click(*InnerOf<TClassChildPanel_4FD97A4>(*scheme->FolderPage).InstallButton);
    bool finish = atFolder && Shown(*InnerOf<TClassChildPanel_47F64A8>(*scheme->FinishPage).Panel);
    FreeScheme(scheme);
    std::string product = folder + "\\Varkelo";
    // Folders parents first, as the sorted tree lists them; dir.ini aside.
    for (const auto& entry : files::Tree(product)) {
      const std::string& path = entry.first;
      if (path.back() == '\\')
        tree.Folders.push_back(path.substr(0, path.size() - 1));
      else if (_stricmp(path.c_str(), "dir.ini") != 0)
        tree.Files.push_back({path, files::Read(product + "\\" + path)});
    }
    // The program file first, as the writer does.
    std::stable_partition(tree.Files.begin(), tree.Files.end(),
                          [](const TTreeFile& f) { return f.Path == "Zelcap2-1.exe"; });
    expected = CountTree(product);
    tree.Link = files::ReadLink(linkFile);
    const bool linked = tree.Link.Loaded;
    if (!finish || !files::IsFile(product + "\\dir.ini") || tree.Files.empty() || !linked) {
      std::printf("2. Install chain: the warm-up installation did not complete (folder page %s, finish page %s, "
                  "dir.ini %s, %zu files, shortcut %s)\n",
                  atFolder ? "reached" : "not reached", finish ? "shown" : "not shown",
                  files::IsFile(product + "\\dir.ini") ? "written" : "missing", tree.Files.size(),
                  linked ? "written" : "missing");
      files::RemoveTree(root);
      return false;
    }
    files::RemoveTree(folder);
  }
  size_t treeBytes = 0;
  for (const TTreeFile& f : tree.Files) treeBytes += f.Bytes.size();

  TSamples chain, floor;
  TFloorShares parts;
  int incomplete = 0;
  for (int i = 0; i < repetitions; ++i) {
    // Two fresh folders per repetition; the two timed runs take turns at
    // going first, so neither always follows the other's clean-up. The
    // shortcut is overwritten by both, as on every installation.
    const std::string chainFolder = root + "\\chain" + std::to_string(i);
    const std::string floorFolder = root + "\\floor" + std::to_string(i);
    CreateDirectoryA(chainFolder.c_str(), nullptr);
    CreateDirectoryA(floorFolder.c_str(), nullptr);
    auto scheme = SchemeAtFolderPage(chainFolder);
    if (!AtFolderPage(*scheme)) ++incomplete;
    HWND button = HandleOf(*InnerOf<TClassChildPanel_4FD97A4>(*scheme->FolderPage).InstallButton);
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == (i % 2 == 0)) {
        double t0 = NowMs();
        SendMessageA(button, BM_CLICK, 0, 0);
        double t1 = NowMs();
        chain.Ms.push_back(t1 - t0);
      } else {
        double t0 = NowMs();
        WriteFloor(floorFolder, tree, linkFile, parts);
        double t1 = NowMs();
        floor.Ms.push_back(t1 - t0);
      }
    }
    bool finish = Shown(*InnerOf<TClassChildPanel_47F64A8>(*scheme->FinishPage).Panel);
    FreeScheme(scheme);
    if (!finish || CountTree(chainFolder + "\\Varkelo") != expected) ++incomplete;
    if (CountTree(floorFolder + "\\Varkelo") != expected) ++incomplete;
    files::RemoveTree(chainFolder);
    files::RemoveTree(floorFolder);
  }
  files::RemoveTree(root);

  std::printf("3. Install chain, BM_CLICK on Install until it returns (%zu folders, %zu files, %zu bytes, "
              "the shortcut and dir.ini)\n",
              tree.Folders.size() + 1, tree.Files.size(), treeBytes);
  PrintRow("Install chain", chain);
  PrintRow("floor: plain Win32, each file whole", floor);
  PrintRow("  of it: folders and files", parts.Files);
  PrintRow("  of it: shortcut (COM init, IShellLinkW, Save)", parts.Link);
  PrintRow("  of it: dir.ini", parts.Record);
  double ratioMin = floor.Min() > 0 ? chain.Min() / floor.Min() : 0;
  double ratioMedian = floor.Median() > 0 ? chain.Median() / floor.Median() : 0;
  std::printf("  chain / floor: min %.2f, median %.2f; goal <= 1.5: %s by min, %s by median\n", ratioMin,
              ratioMedian, ratioMin <= 1.5 ? "met" : "NOT met", ratioMedian <= 1.5 ? "met" : "NOT met");
  TSamples ratios;
  for (size_t i = 0; i < chain.Ms.size(); ++i) ratios.Ms.push_back(chain.Ms[i] / floor.Ms[i]);
  std::printf("  paired per repetition: median ratio %.2f (min %.2f); goal <= 1.5: %s\n", ratios.Median(),
              ratios.Min(), ratios.Median() <= 1.5 ? "met" : "NOT met");
  if (incomplete)
    std::printf("  WARNING: %d runs missed the folder page, the finish page or part of the tree\n", incomplete);
  return incomplete == 0;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::max(1, std::atoi(argv[i])));
  const int buildReps = counts.size() > 0 ? counts[0] : 20;
  const int installReps = counts.size() > 1 ? counts[1] : 15;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  BenchConstruction(buildReps);
  bool ok = BenchInstall(installReps);
  return ok ? 0 : 1;
}
