// The installer's heavy moments, timed in-process beside floors of plain
// Win32 calls measured in the same run:
//  1. building (and freeing) the whole root container with every resource it
//     loads, against a bare 440x351 window created, shown and destroyed plus
//     the unpacking of every data item the building reads (of a picture, its
//     first bytes) and of the two bitmaps;
//  2. the payload check at start, and the unpacking of what the start needs
//     and of the program file;
//  3. the Install chain from the button's click to its return (program file,
//     installation sequence, finish page, dir.ini, the uninstaller and its
//     entry), against writing the same bytes to the same tree, each file
//     whole or not at all as the installer writes them (a temporary file
//     beside it, moved over it), with CreateDirectoryW, CreateFileW/WriteFile,
//     MoveFileExW, the shell-link object, WritePrivateProfileStringW and the
//     registry's values, then every file read back, as the installer reads back
//     its run;
//  4. the uninstaller as a deployment tool runs it ("uninstall.exe /S" over
//     an installation the installer made with /S), from its start to its
//     exit and to the product folder's end, beside removing the same tree,
//     shortcut and entry with plain calls.
// One table of rows, each a set-up, a timed part and the floor it is compared
// with, if any; one loop runs them all, taking turns. Self-timed with
// QueryPerformanceCounter; prints min and median per row, its ratio to its
// floor by min, by median and paired (the median of the ratios within each
// repetition), and the goals.
// Usage: bench_scheme [construction-repetitions [install-repetitions]]
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Container.h"
#include "Files.h"
#include "Resources.h"
#include "SchemeRoles.h"
#include "Texts.h"
#include "Window.h"

namespace {

// ------------------------------------------------------------------ timing
double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(frequency.QuadPart) / 1000.0;
  }();
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

// ------------------------------------------------------------ what rows share
// One file of an installed tree, relative to the product folder.
struct TTreeFile {
  std::string Path;
  std::string Bytes;
};

// What the floor of Install writes: the tree a real installation left.
struct TFloorTree {
  std::vector<std::string> Folders; // below the product folder, parents first
  std::vector<TTreeFile> Files;     // program file first, as the writer does
  files::TLink Link;
};

// ------------------------------------------------------- desktop location
// For the run the desktop is a folder of the benchmark's own, in both
// shell-folders records: the installer's shortcut goes there, and the
// uninstaller takes it for the desktop and removes the shortcut. Both are
// restored after.
struct TDesktopValue {
  explicit TDesktopValue(const std::string& folder)
      : Shell(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Desktop", folder),
        User(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Desktop",
             folder) {}
  files::TRegistryText Shell, User;
};

// The state the rows pass from set-up to timed part to tear-down, and what
// the Install rows need for the whole run.
struct TRun {
  std::vector<std::string> DataNames;              // what floor (b) unpacks
  std::unique_ptr<TInstallerScheme> Scheme;  // built by a set-up or timed part
  std::unique_ptr<TOMMainForm> Form;               // the form the pages are built in
  std::string Root, LinkFile;                      // the Install rows' folder, the shortcut
  std::unique_ptr<TDesktopValue> Desktop;
  TFloorTree Tree;
  size_t Expected = 0;                             // entries of a whole installation
  std::string Folder;                              // the current Install row's own
  int Folders = 0;
  HWND InstallButton = nullptr;
  int Incomplete = 0;                              // runs that missed a page or a file
};

// The benchmark's application, which its entry makes first as the program's does.
TApplication& App() { return TApplication::Current(); }
void ProcessMessages() { App().ProcessMessages(); }

// Handles what the windows have queued, as the message loop would between
// two user actions; never part of a timed part.
void Pump(TRun&) { ProcessMessages(); }

volatile char Sink = 0; // keeps a read from being optimised away

// Each row starts as the program does: nothing fires until Start, and no
// unpacked block of the payload is kept (an item alone in its block lets the
// kept one go), so that no row pays or saves the unpacking of the texts for
// the row before it.
void AsAtStart() {
  StopDispatch();
  App().ResetTerminated();
  Sink = Sink + char(LoadResourceStream("STREAM1")->Size());
}

// ----------------------------------------------------- scheme navigation

HWND HandleOf(TOMWin& element) { return element.Control ? element.Control->GetHandle() : nullptr; }

void Click(TOMWin& button) { SendMessageA(HandleOf(button), BM_CLICK, 0, 0); }

bool Shown(TOMWin& panel) {
  HWND handle = panel.Control ? panel.Control->PeekHandle() : nullptr;
  return handle && IsWindowVisible(handle);
}

// Only the folder page on screen.
bool AtFolderPage(TInstallerScheme& scheme) {
  return Shown(*InnerOf<TFolderFrame>(scheme.FolderPage).Panel) &&
         !Shown(*InnerOf<TWelcomeFrame>(scheme.WelcomePage).Panel) &&
         !Shown(*InnerOf<TLicenceFrame>(scheme.LicencePage).Panel) &&
         !Shown(*InnerOf<TFinishFrame>(scheme.FinishPage).Panel);
}

bool AtFinishPage(TInstallerScheme& scheme) {
  return Shown(*InnerOf<TFinishFrame>(scheme.FinishPage).Panel);
}

TOMButton& InstallButton(TInstallerScheme& scheme) {
  return *InnerOf<TFolderFrame>(scheme.FolderPage).InstallButton;
}

// A started scheme with the folder page on screen, reached through Next and
// Agree, and the folder field holding the given folder.
std::unique_ptr<TInstallerScheme> SchemeAtFolderPage(const std::string& folder) {
  auto scheme = std::make_unique<TInstallerScheme>();
  scheme->MainForm->Start();
  App().ShowWindows();
  ProcessMessages();
  Click(*InnerOf<TWelcomeFrame>(scheme->WelcomePage).NextButton);
  ProcessMessages();
  Click(*InnerOf<TLicenceFrame>(scheme->LicencePage).AgreeButton);
  ProcessMessages();
  // The field is disabled for the user; its text is set as Browse sets it,
  // which fires the field's change handler.
  scheme->SetFolderText(folder);
  ProcessMessages();
  return scheme;
}

// Frees a scheme the way the entry does once the loop has ended: dispatching
// stops first, so nothing fires while the elements go.
void FreeScheme(TRun& run) {
  StopDispatch();
  run.Scheme.reset();
  ProcessMessages();
}

// ============================================================ construction
void BuildScheme(TRun& run) { run.Scheme = std::make_unique<TInstallerScheme>(); }

// The deferred inits run muted (nothing fires); they empty the list that
// points into this scheme.
void BuildSettled(TRun& run) {
  BuildScheme(run);
  RunDeferredInits();
}

void SettleAndFree(TRun& run) {
  RunDeferredInits();
  run.Scheme.reset();
  ProcessMessages();
}

void Free(TRun& run) { run.Scheme.reset(); }

// Up to the window on screen: started and every native window created and
// shown, as the message loop does first and in its first idle moments, then freed.
void BuildShowAndFree(TRun& run) {
  BuildScheme(run);
  run.Scheme->MainForm->Start();
  App().ShowWindows();
  while (App().CreateHiddenWindows()) {}
  StopDispatch();
  run.Scheme.reset();
}

// The two non-visual installation containers alone, each hosted by a
// multi-element as the root container hosts them, its one event and one
// data point unlinked: the share of building that is theirs (they read the
// program file, the texts and the pictures).
void InstallationContainers(TRun&) {
  TOMMultiElement writer, installation;
  HostContainer(writer, &CreateContainer<TProgramAndRecord>, {TPointLink{}}, {TPointLink{}});
  HostContainer(installation, &CreateContainer<TInstallationSequence>, {TPointLink{}}, {TPointLink{}});
}

// The host alone: the main form as the root container makes it, then freed.
void MainFormAlone(TRun&) {
  std::unique_ptr<TOMMainForm> form(InstallerForm(new TOMMainForm(nullptr)));
  RunDeferredInits();
  form.reset();
}

void MakeForm(TRun& run) {
  run.Form.reset(InstallerForm(new TOMMainForm(nullptr)));
  RunDeferredInits();
}

void FreeForm(TRun& run) {
  run.Form.reset();
  ProcessMessages();
}

// The four page frames with their bodies, built in the form and freed again,
// hosted in the order and with the event counts of the root container, the
// events unlinked.
void PagesAlone(TRun& run) {
  TWindowObject* form = run.Form->Control;
  TOMMultiElement welcome(form), folder(form), licence(form), finish(form);
  const TPointLink none;
  HostContainer(welcome, &CreateContainer<TWelcomeFrame>, {none, none});
  HostContainer(folder, &CreateContainer<TFolderFrame>, {none, none, none});
  HostContainer(licence, &CreateContainer<TLicenceFrame>, {none, none, none});
  HostContainer(finish, &CreateContainer<TFinishFrame>, {none});
}

// --------------------------------------------------- construction's floors
// The data items the scheme reads as it is built: STR1..STR37 and the
// pictures STREAM1..STREAM3 (the program file, STREAM0, only when it is written).
std::vector<std::string> DataNames() {
  std::vector<std::string> names;
  for (int i = 1; i <= 37; ++i) names.push_back("STR" + std::to_string(i));
  for (int i = 1; i <= 3; ++i) names.push_back("STREAM" + std::to_string(i));
  return names;
}

void UnpackSideBitmaps(TRun&) {
  for (const char* name : {"BITMAP0", "BITMAP1"}) DeleteObject(LoadResourceBitmap(name));
}

// Those data items unpacked out of the payload (of a picture, as far as its
// header needs), and the two side pictures unpacked: the least the scheme's
// building has to do with them.
size_t CopyResources(TRun& run) {
  size_t copied = 0;
  for (const std::string& name : run.DataNames) {
    // A picture's header lies in its first bytes: the scheme reads no more.
    std::unique_ptr<TByteStream> stream = LoadResourceStream(name);
    const int64_t size = name.rfind("STREAM", 0) == 0 ? std::min<int64_t>(stream->Size(), 65536) : stream->Size();
    const uint8_t* bytes = stream->Prefix(size);
    if (size && bytes) Sink = Sink + char(bytes[size / 2]);
    copied += size_t(size);
  }
  UnpackSideBitmaps(run);
  return copied;
}

LRESULT CALLBACK BareProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

void RegisterBareClass() {
  WNDCLASSA cls{};
  cls.lpfnWndProc = BareProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = "OmbrelBenchBare";
  RegisterClassA(&cls);
}

void BareWindow(TRun&) {
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
void PlainFormWindows(TRun&) {
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

// ========================================================== payload at start
void CheckPayload(TRun&) { Sink = Sink + char(PayloadIntact()); }

// The texts' block, as the start unpacks it for the first page.
void UnpackTexts(TRun&) { Sink = Sink + LoadResourceText("STR2")[0]; }

void UnpackProgramFile(TRun&) { Sink = Sink + char(LoadResourceStream("STREAM0")->Memory()[0]); }

// ================================================================ Install
std::string Product(const std::string& folder) { return folder + "\\" + ProductFolder; }

// Every entry of a tree, folders and files, dir.ini among them.
size_t CountTree(const std::string& root) { return files::Tree(root).size(); }

// A fresh folder of its own for each Install row's run.
void FreshFolder(TRun& run) {
  run.Folder = run.Root + "\\run" + std::to_string(run.Folders++);
  CreateDirectoryA(run.Folder.c_str(), nullptr);
}

// A whole installation, the record among it, or the run counts as incomplete.
void CheckAndRemove(TRun& run) {
  if (CountTree(Product(run.Folder)) != run.Expected) ++run.Incomplete;
  files::RemoveTree(run.Folder);
}

void ToFolderPage(TRun& run) {
  FreshFolder(run);
  run.Scheme = SchemeAtFolderPage(run.Folder);
  if (!AtFolderPage(*run.Scheme)) ++run.Incomplete;
  // What idle time does while the person reads the page: the pages not reached made, the payload unpacked.
  while (App().CreateHiddenWindows()) {}
  while (UnpackPayloadSlice()) {}
  run.InstallButton = HandleOf(InstallButton(*run.Scheme));
}

void ClickInstall(TRun& run) { SendMessageA(run.InstallButton, BM_CLICK, 0, 0); }

void LeaveFinishPage(TRun& run) {
  if (!AtFinishPage(*run.Scheme)) ++run.Incomplete;
  FreeScheme(run);
  CheckAndRemove(run);
}

// ---------------------------------------------------------- Install's floor
// A file's temporary name beside it, and the move over it once written.
std::wstring TempOf(const std::string& path) { return files::Wide(path + ".1.~tmp"); }
void MoveOver(const std::string& path) {
  MoveFileExW(TempOf(path).c_str(), files::Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The same folders and bytes, each file whole.
void WriteFloorFiles(TRun& run) {
  const std::string product = Product(run.Folder);
  CreateDirectoryW(files::Wide(product).c_str(), nullptr);
  for (const std::string& sub : run.Tree.Folders)
    CreateDirectoryW(files::Wide(product + "\\" + sub).c_str(), nullptr);
  for (const TTreeFile& item : run.Tree.Files) {
    const std::string path = product + "\\" + item.Path;
    HANDLE file = CreateFileW(TempOf(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    WriteFile(file, item.Bytes.data(), DWORD(item.Bytes.size()), &written, nullptr);
    CloseHandle(file);
    MoveOver(path);
  }
}

// The same calls the shortcut element makes, component services included.
void WriteFloorLink(TRun& run) {
  const files::TLink& facts = run.Tree.Link;
  HRESULT initialised = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                 IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
    link->SetPath(files::Wide(facts.Path).c_str());
    link->SetWorkingDirectory(files::Wide(facts.WorkDir).c_str());
    link->SetDescription(files::Wide(facts.Description).c_str());
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Save(TempOf(run.LinkFile).c_str(), FALSE))) MoveOver(run.LinkFile);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
}

// The record, written whole.
void WriteFloorRecord(TRun& run) {
  const std::string product = Product(run.Folder);
  const std::string record = product + "\\dir.ini";
  CopyFileW(files::Wide(record).c_str(), TempOf(record).c_str(), FALSE);
  WritePrivateProfileStringW(L"info", L"dir", files::Wide(product + "\\").c_str(), TempOf(record).c_str());
  MoveOver(record);
}

// The entry in the system's list of programs: a key and nine values, as
// long as the installer's.
void WriteFloorEntry(TRun& run) {
  const std::wstring product = files::Wide(Product(run.Folder));
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvanta", 0,
                      nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring texts[] = {L"Сорванта v2.1", L"2.1", product, product + L"\\Zelcap2-1.exe",
                                L"\"" + product + L"\\uninstall.exe\"", L"\"" + product + L"\\uninstall.exe\" /S"};
  const wchar_t* const names[] = {L"DisplayName", L"DisplayVersion", L"InstallLocation", L"DisplayIcon",
                                  L"UninstallString", L"QuietUninstallString"};
  for (size_t i = 0; i < 6; ++i)
    RegSetValueExW(key, names[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(texts[i].c_str()),
                   DWORD((texts[i].size() + 1) * sizeof(wchar_t)));
  for (const wchar_t* name : {L"EstimatedSize", L"NoModify", L"NoRepair"}) {
    const DWORD one = 1;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  }
  RegCloseKey(key);
}

// Every file written read back and compared with what was written, as the installer checks its run.
void ReadBackFloor(TRun& run) {
  const std::string product = Product(run.Folder);
  for (const TTreeFile& item : run.Tree.Files)
    if (files::Read(product + "\\" + item.Path) != item.Bytes) ++run.Incomplete;
  for (const std::string& path : {run.LinkFile, product + "\\dir.ini"})
    if (files::Read(path).empty()) ++run.Incomplete;
}

// The plain-Win32 floor: the same folders, bytes (the uninstaller's among them), shortcut, record
// and entry, then all of them read back.
void WriteFloor(TRun& run) {
  WriteFloorFiles(run);
  WriteFloorLink(run);
  WriteFloorRecord(run);
  WriteFloorEntry(run);
  ReadBackFloor(run);
}

void FreshProductFolder(TRun& run) {
  FreshFolder(run);
  CreateDirectoryW(files::Wide(Product(run.Folder)).c_str(), nullptr);
}

void RemoveFolder(TRun& run) { files::RemoveTree(run.Folder); }

// ============================================================== uninstall
// A process of this command line, waited for; false when it did not start
// or did not end with 0 in a minute.
bool RunWaited(const std::string& line) {
  std::wstring command = files::Wide(line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  DWORD code = 1;
  const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended && code == 0;
}

// An installation by the installer itself, without a person, into a fresh folder: the one built
// with this benchmark, or the one OMBREL_BENCH_INSTALLER names (another build's, to compare).
void InstallQuietly(TRun& run) {
  FreshFolder(run);
  const std::string other = files::Env("OMBREL_BENCH_INSTALLER");
  if (!RunWaited("\"" + files::DosPath(other.empty() ? OMBREL_EXE : other) + "\" /S /D=" + run.Folder) ||
      CountTree(Product(run.Folder)) != run.Expected)
    ++run.Incomplete;
}

void Uninstall(TRun& run) {
  if (!RunWaited("\"" + Product(run.Folder) + "\\uninstall.exe\" /S")) ++run.Incomplete;
}

// The uninstaller's own file goes after its exit: its folder's end, polled.
void AwaitRemoval(TRun& run) {
  const double t0 = NowMs();
  while (files::IsFolder(Product(run.Folder)) && NowMs() - t0 < 60000) Sleep(1);
}

void UninstallToTheEnd(TRun& run) {
  Uninstall(run);
  AwaitRemoval(run);
}

void CheckRemoved(TRun& run) {
  AwaitRemoval(run);
  if (files::IsFolder(Product(run.Folder)) || files::IsFile(run.LinkFile)) ++run.Incomplete;
  files::RemoveTree(run.Folder);
}

// The floor: the same files, folders, shortcut and entry removed with plain calls.
void RemoveFloor(TRun& run) {
  const std::string product = Product(run.Folder);
  for (const TTreeFile& item : run.Tree.Files) DeleteFileW(files::Wide(product + "\\" + item.Path).c_str());
  for (const char* name : {"dir.ini", "uninstall.exe"}) DeleteFileW(files::Wide(product + "\\" + name).c_str());
  DeleteFileW(files::Wide(run.LinkFile).c_str());
  for (auto folder = run.Tree.Folders.rbegin(); folder != run.Tree.Folders.rend(); ++folder)
    RemoveDirectoryW(files::Wide(product + "\\" + *folder).c_str());
  RemoveDirectoryW(files::Wide(product).c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvanta");
}

// ================================================================ the table
using TStep = void (*)(TRun&);
enum TGroup { gConstruction, gInstall }; // whose repetition count a row runs

struct TRow {
  const char* Name;
  int Section;        // printed under 1, 2 or 3
  TGroup Group;
  const char* Heading; // a line printed before the row, or null
  TStep SetUp;        // untimed, before; or null
  TStep Timed;        // null: the sum per repetition of the two rows in Sum
  TStep TearDown;     // untimed, after; or null
  const char* Floor;  // the row it is compared with, or null
  const char* Sum[2];
};

constexpr TRow Row(const char* name, int section, TGroup group, TStep setUp, TStep timed, TStep tearDown,
                   const char* floor = nullptr, const char* heading = nullptr) {
  return TRow{name, section, group, heading, setUp, timed, tearDown, floor, {nullptr, nullptr}};
}

constexpr TRow SumRow(const char* name, int section, const char* first, const char* second,
                      const char* floor = nullptr) {
  return TRow{name, section, gConstruction, nullptr, nullptr, nullptr, nullptr, floor, {first, second}};
}

const char* const Floors = "floors (a) + (b)";
const char* const BareFloor = "floor (a) bare window create+show+destroy";
const char* const CopyFloor = "floor (b) texts unpacked, pictures' first 64 KB, 2 bitmaps unpacked";
const char* const PlainWindows = "beside: the form's windows by plain calls";
const char* const Chain = "Install chain";
const char* const InstallFloor = "floor: plain Win32, each file whole";
const char* const Uninstaller = "uninstall.exe /S, start to exit";
const char* const RemovalFloor = "floor: plain Win32 removal of the same";

const TRow Rows[] = {
    Row("construct", 1, gConstruction, nullptr, BuildScheme, SettleAndFree),
    Row("free", 1, gConstruction, BuildSettled, Free, Pump),
    SumRow("construct + free", 1, "construct", "free", Floors),
    Row("construct + start + show all + free", 1, gConstruction, nullptr, BuildShowAndFree, Pump, Floors),
    Row("  of construct+free: installation containers", 1, gConstruction, nullptr, InstallationContainers, nullptr),
    Row("  of construct+free: main form alone, with icon", 1, gConstruction, nullptr, MainFormAlone, Pump,
        PlainWindows),
    Row("  of construct+free: the four pages in a form", 1, gConstruction, MakeForm, PagesAlone, FreeForm),
    Row(BareFloor, 1, gConstruction, nullptr, BareWindow, Pump),
    Row(CopyFloor, 1, gConstruction, nullptr, [](TRun& run) { CopyResources(run); }, nullptr),
    SumRow(Floors, 1, BareFloor, CopyFloor),
    Row(PlainWindows, 1, gConstruction, nullptr, PlainFormWindows, Pump),
    Row("payload check, every digest", 2, gConstruction, nullptr, CheckPayload, nullptr),
    Row("unpack the texts (one block)", 2, gConstruction, nullptr, UnpackTexts, nullptr, nullptr,
        "unpacking: what the start needs, and the program file as Install writes it"),
    Row("unpack the 2 side bitmaps", 2, gConstruction, nullptr, UnpackSideBitmaps, nullptr),
    Row("unpack STREAM0", 2, gConstruction, nullptr, UnpackProgramFile, nullptr),
    Row(Chain, 3, gInstall, ToFolderPage, ClickInstall, LeaveFinishPage, InstallFloor),
    Row(InstallFloor, 3, gInstall, FreshFolder, WriteFloor, CheckAndRemove),
    Row("  of it: folders and files", 3, gInstall, FreshFolder, WriteFloorFiles, RemoveFolder),
    Row("  of it: shortcut (COM init, IShellLinkW, Save)", 3, gInstall, nullptr, WriteFloorLink, nullptr),
    Row("  of it: dir.ini", 3, gInstall, FreshProductFolder, WriteFloorRecord, RemoveFolder),
    Row("  of it: the entry in the list of programs", 3, gInstall, FreshProductFolder, WriteFloorEntry, RemoveFolder),
    Row(Uninstaller, 4, gInstall, InstallQuietly, Uninstall, CheckRemoved, RemovalFloor),
    Row("uninstall.exe /S, start to the folder's end", 4, gInstall, InstallQuietly, UninstallToTheEnd, CheckRemoved,
        RemovalFloor),
    Row(RemovalFloor, 4, gInstall, InstallQuietly, RemoveFloor, CheckRemoved),
};
constexpr size_t RowCount = std::size(Rows);

size_t IndexOf(const char* name) {
  for (size_t i = 0; i < RowCount; ++i)
    if (std::strcmp(Rows[i].Name, name) == 0) return i;
  std::fprintf(stderr, "bench_scheme: no row \"%s\"\n", name);
  std::exit(2);
}

// Every name a row refers to is a row.
void CheckTable() {
  for (const TRow& row : Rows)
    for (const char* name : {row.Floor, row.Sum[0], row.Sum[1]})
      if (name) IndexOf(name);
}

// Runs every row its group's number of repetitions, each repetition starting
// at another row, so that no row always follows the same one and load from
// elsewhere on the machine falls on all rows alike; rows of one repetition
// run close together, for the paired figures. Two rounds first, untimed:
// first-use costs (classes, fonts, libraries) are no row's.
std::vector<TSamples> Measure(TRun& run, const int repetitions[2]) {
  std::vector<TSamples> samples(RowCount);
  const int rounds = std::max(repetitions[gConstruction], repetitions[gInstall]);
  for (int r = -2; r < rounds; ++r)
    for (size_t k = 0; k < RowCount; ++k) {
      const size_t i = (k + size_t(r + 2)) % RowCount;
      const TRow& row = Rows[i];
      const int count = repetitions[row.Group];
      if (!row.Timed || count == 0 || r >= count) continue;
      AsAtStart();
      if (row.SetUp) row.SetUp(run);
      const double t0 = NowMs();
      row.Timed(run);
      const double t1 = NowMs();
      if (row.TearDown) row.TearDown(run);
      if (r >= 0) samples[i].Ms.push_back(t1 - t0);
    }
  for (size_t i = 0; i < RowCount; ++i) {
    if (Rows[i].Timed) continue;
    const TSamples &a = samples[IndexOf(Rows[i].Sum[0])], &b = samples[IndexOf(Rows[i].Sum[1])];
    for (size_t n = 0; n < a.Ms.size() && n < b.Ms.size(); ++n) samples[i].Ms.push_back(a.Ms[n] + b.Ms[n]);
  }
  return samples;
}

// ================================================================= report
// What the run found besides the rows, for the section headings.
struct TFacts {
  bool Intact = false;
  double FirstCheck = 0; // ms, the first check in the process
  size_t Resources = 0, ResourceBytes = 0, ProgramBytes = 0;
  bool FormWindow = false;
  int Windows = 0, ShownWindows = 0; // the form's children after construction, once shown
  bool Installed = false;            // the first installation completed
  size_t TreeBytes = 0;
};

struct TReport {
  std::vector<TSamples> Samples;
  const TSamples& Of(const char* name) const { return Samples[IndexOf(name)]; }
};

const char* Met(bool met) { return met ? "met" : "NOT met"; }

// Per repetition, a's figure over b's.
TSamples Paired(const TSamples& a, const TSamples& b) {
  TSamples ratios;
  for (size_t i = 0; i < a.Ms.size() && i < b.Ms.size(); ++i)
    if (b.Ms[i] > 0) ratios.Ms.push_back(a.Ms[i] / b.Ms[i]);
  return ratios;
}

void PrintRow(const char* name, const TSamples& s, const TSamples* floor = nullptr) {
  std::printf("  %-46s min %9.3f ms   median %9.3f ms   (n=%zu)", name, s.Min(), s.Median(), s.Ms.size());
  if (floor && floor->Min() > 0 && floor->Median() > 0)
    std::printf("   / floor: min %.2f, median %.2f, paired %.2f", s.Min() / floor->Min(),
                s.Median() / floor->Median(), Paired(s, *floor).Median());
  std::printf("\n");
}

void PrintRows(const TReport& report, int section) {
  for (size_t i = 0; i < RowCount; ++i) {
    const TRow& row = Rows[i];
    if (row.Section != section) continue;
    if (row.Heading) std::printf("  %s\n", row.Heading);
    PrintRow(row.Name, report.Samples[i], row.Floor ? &report.Of(row.Floor) : nullptr);
  }
}

void PrintConstruction(const TReport& report, const TFacts& facts) {
  std::printf("1. Construction of TInstallerScheme (%zu type-100 resources, %zu bytes; "
              "native windows right after construction: form %s, %d children; once shown: %d children)\n",
              facts.Resources, facts.ResourceBytes, facts.FormWindow ? "yes" : "no", facts.Windows,
              facts.ShownWindows);
  PrintRows(report, 1);
  const TSamples &total = report.Of("construct + free"), &bare = report.Of(BareFloor), &copy = report.Of(CopyFloor);
  const double beyondMin = total.Min() - copy.Min() - bare.Min();
  const double beyondMedian = total.Median() - copy.Median() - bare.Median();
  std::printf("  work beyond the floors (construct+free - a - b): min %.3f ms, median %.3f ms; "
              "goal <= 5 ms: %s by min, %s by median\n",
              beyondMin, beyondMedian, Met(beyondMin <= 5.0), Met(beyondMedian <= 5.0));
  // Paired within each repetition, so that load from elsewhere on the
  // machine drifting between repetitions cancels out.
  TSamples paired;
  for (size_t i = 0; i < total.Ms.size(); ++i) paired.Ms.push_back(total.Ms[i] - copy.Ms[i] - bare.Ms[i]);
  std::printf("  paired per repetition: median %.3f ms beyond the floors; goal <= 5 ms: %s\n", paired.Median(),
              Met(paired.Median() <= 5.0));
  const TSamples& plain = report.Of(PlainWindows);
  std::printf("  construct+free - those windows - (b): min %.3f ms, median %.3f ms\n",
              total.Min() - plain.Min() - copy.Min(), total.Median() - plain.Median() - copy.Median());
  const double shownBeyond = report.Of("construct + start + show all + free").Median() - copy.Median() - bare.Median();
  std::printf("  (with start and every window shown: median %.3f ms beyond the floors)\n", shownBeyond);
}

void PrintPayload(const TReport& report, const TFacts& facts) {
  std::printf("2. The payload check at start (%s): first in the process %.3f ms; the program file %zu bytes\n",
              facts.Intact ? "intact" : "DAMAGED", facts.FirstCheck, facts.ProgramBytes);
  PrintRows(report, 2);
  PrintRow("beside: floor (a) bare window", report.Of(BareFloor));
  const double check = std::max(facts.FirstCheck, report.Of("payload check, every digest").Median());
  std::printf("  goal <= 5 ms: %s\n", Met(check <= 5.0));
  std::printf("\n");
}

void PrintInstall(const TReport& report, const TFacts& facts, const TRun& run) {
  if (!facts.Installed) return;
  std::printf("3. Install chain, BM_CLICK on Install until it returns (%zu folders, %zu files, %zu bytes, "
              "the shortcut, dir.ini and the entry)\n",
              run.Tree.Folders.size() + 1, run.Tree.Files.size(), facts.TreeBytes);
  PrintRows(report, 3);
  const TSamples &chain = report.Of(Chain), &floor = report.Of(InstallFloor);
  const double ratioMin = floor.Min() > 0 ? chain.Min() / floor.Min() : 0;
  const double ratioMedian = floor.Median() > 0 ? chain.Median() / floor.Median() : 0;
  std::printf("  chain / floor: min %.2f, median %.2f; goal <= 1.5: %s by min, %s by median\n", ratioMin,
              ratioMedian, Met(ratioMin <= 1.5), Met(ratioMedian <= 1.5));
  const TSamples ratios = Paired(chain, floor);
  std::printf("  paired per repetition: median ratio %.2f (min %.2f); goal <= 1.5: %s\n", ratios.Median(),
              ratios.Min(), Met(ratios.Median() <= 1.5));
  if (run.Incomplete)
    std::printf("  WARNING: %d runs missed the folder page, the finish page, part of the tree or its removal\n", run.Incomplete);
}

void PrintUninstall(const TReport& report, const TFacts& facts) {
  if (!facts.Installed) return;
  std::printf("4. The uninstaller, as a deployment tool runs it (its exit comes before its own file's end)\n");
  PrintRows(report, 4);
}

// ========================================================= before the loop
BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The form's native windows right after construction and once shown.
void CountWindows(TFacts& facts) {
  TRun run;
  BuildScheme(run);
  HWND form = run.Scheme->MainForm->Control->PeekHandle();
  facts.FormWindow = form != nullptr;
  if (form) EnumChildWindows(form, CountChild, reinterpret_cast<LPARAM>(&facts.Windows));
  run.Scheme->MainForm->Start();
  App().ShowWindows();
  form = run.Scheme->MainForm->Control->PeekHandle();
  if (form) EnumChildWindows(form, CountChild, reinterpret_cast<LPARAM>(&facts.ShownWindows));
  FreeScheme(run);
}

// The tree an installation left, read as the floor writes it: folders
// parents first, as the sorted tree lists them; the program file first, as
// the writer does; dir.ini aside, for the floor writes its own.
void ReadTree(TRun& run, const std::string& product) {
  for (const auto& entry : files::Tree(product)) {
    const std::string& path = entry.first;
    if (path.back() == '\\')
      run.Tree.Folders.push_back(path.substr(0, path.size() - 1));
    else if (_stricmp(path.c_str(), "dir.ini") != 0)
      run.Tree.Files.push_back({path, files::Read(product + "\\" + path)});
  }
  std::stable_partition(run.Tree.Files.begin(), run.Tree.Files.end(),
                        [](const TTreeFile& f) { return f.Path == ProgramFileName; });
  run.Expected = CountTree(product);
  run.Tree.Link = files::ReadLink(run.LinkFile);
}

// One installation through the scheme, in the run's own folder with the
// desktop pointed into it: first-use costs out of the way, and the tree it
// writes is what the floor writes. False, and said why, when it did not
// complete.
bool FirstInstallation(TRun& run, TFacts& facts) {
  run.Root = files::TempFolder() + "ombrel-bench-" + std::to_string(GetCurrentProcessId());
  files::RemoveTree(run.Root);
  CreateDirectoryA(run.Root.c_str(), nullptr);
  const std::string desk = run.Root + "\\Desk";
  CreateDirectoryA(desk.c_str(), nullptr);
  run.Desktop = std::make_unique<TDesktopValue>(desk);
  run.LinkFile = desk + "\\" + texts::Shortcut;
  ToFolderPage(run);
  const bool atFolder = run.Incomplete == 0;
  ClickInstall(run);
  const bool finish = atFolder && AtFinishPage(*run.Scheme);
  FreeScheme(run);
  const std::string product = Product(run.Folder);
  ReadTree(run, product);
  for (const TTreeFile& f : run.Tree.Files) facts.TreeBytes += f.Bytes.size();
  const bool record = files::IsFile(product + "\\dir.ini"), linked = run.Tree.Link.Loaded;
  files::RemoveTree(run.Folder);
  run.Incomplete = 0;
  if (finish && record && !run.Tree.Files.empty() && linked) return true;
  std::printf("3. Install chain: the first installation did not complete (folder page %s, finish page %s, "
              "dir.ini %s, %zu files, shortcut %s)\n",
              atFolder ? "reached" : "not reached", finish ? "shown" : "not shown", record ? "written" : "missing",
              run.Tree.Files.size(), linked ? "written" : "missing");
  return false;
}

} // namespace

int main(int argc, char** argv) {
  int repetitions[2] = {20, 15};
  bool usage = argc > 3;
  for (int i = 1; i < argc; ++i) usage = usage || argv[i][0] < '0' || argv[i][0] > '9';
  if (usage) {
    std::fprintf(stderr, "usage: bench_scheme [construction-repetitions [install-repetitions]]\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) repetitions[i - 1] = std::max(1, std::atoi(argv[i]));
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  TApplication application;
  CheckTable();
  TFacts facts;
  // The check the program makes at every start, the first one in a process
  // with the mapping of the program file.
  const double t0 = NowMs();
  facts.Intact = PayloadIntact();
  facts.FirstCheck = NowMs() - t0;

  RegisterBareClass();
  TRun run;
  run.DataNames = DataNames();
  facts.Resources = run.DataNames.size();
  facts.ResourceBytes = CopyResources(run);
  facts.ProgramBytes = size_t(LoadResourceStream("STREAM0")->Size());
  CountWindows(facts);
  facts.Installed = FirstInstallation(run, facts);
  if (!facts.Installed) repetitions[gInstall] = 0;

  const TReport report{Measure(run, repetitions)};
  files::RemoveTree(run.Root);
  PrintConstruction(report, facts);
  PrintPayload(report, facts);
  PrintInstall(report, facts, run);
  PrintUninstall(report, facts);
  return facts.Installed && run.Incomplete == 0 ? 0 : 1;
}
