// The installer's root container in-process, with taps put into its links; the entry's set-up.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "DllSearch.h"
#include "Files.h"
#include "Host.h"
#include "InstallLog.h"
#include "ParamStr.h"
#include "Paths.h"
#include "Probe.h"
#include "Process.h"
#include "Resources.h"
#include "SchemeRoles.h"
#include "Texts.h"

using namespace host;

namespace {

HWND Frame(TOMMultiElement* page) { return InnerOf<TPageContainer>(page).Panel->Control->GetHandle(); }
// Before the loop runs the form is not on screen: a frame counts as shown by its own style.
bool Shown(TOMMultiElement* page) { return Style(Frame(page)) & WS_VISIBLE; }
void Click(TOMButton* button) { SendMessageA(button->Control->GetHandle(), BM_CLICK, 0, 0); }

class Scheme : public ::testing::Test {
protected:
  void SetUp() override {
    InstallLog().Clear();
    StopDispatch(); // muted until Start, as in the program
    Root = std::make_unique<TInstallerScheme>();
  }
  void TearDown() override {
    Root.reset();
    StopDispatch();
  }
  void Start() {
    Root->MainForm->Start();
    App.ShowWindows();
    App.ProcessMessages();
  }
  void Show(TOMMultiElement* page, TData value) { Send<&TOMMultiElement::inWork>(*page, value); App.ProcessMessages(); }
  // Put into a link: runs check on what passes, then passes it on unless told not to.
  void Tap(TPointLink& link, std::function<void(TData&, uint16_t)> check, bool pass = true) {
    TProbe* tap = Taps.emplace_back(std::make_unique<TProbe>()).get();
    tap->Action = [tap, check, next = pass ? link : TPointLink()](TData& value) {
      check(value, tap->Index.back());
      if (next.Method) Fire(next, value);
    };
    link = tap->In(link.Index);
  }
  TWelcomeFrame& Welcome() { return InnerOf<TWelcomeFrame>(Root->WelcomePage); }
  TLicenceFrame& Licence() { return InnerOf<TLicenceFrame>(Root->LicencePage); }
  TFolderFrame& Folder() { return InnerOf<TFolderFrame>(Root->FolderPage); }
  TData Remembered() { TData value; Root->FolderPage->varData(value, 0); return value; }

  TApplication App; // as the program's entry makes it, before the root container
  std::unique_ptr<TInstallerScheme> Root;
  std::vector<std::unique_ptr<TProbe>> Taps;
};

// Start makes the dispatcher live and takes the maximise box away; the icon is on the form and the taskbar
// window. Freeing a page takes all its windows. Each button's outEvent, its index and value, whether the
// frame was up when it fired and after; inWork[0] shows on anything but integer 0. Install sends the field
// as it stands and remembers it.
TEST_F(Scheme, StartFreeingAPageAndEachButtonFiringItsEventBeforeOrAfterHidingItsFrame) {
  const HWND form = Root->MainForm->Control->GetHandle(), app = App.Window()->GetHandle();
  EXPECT_TRUE(!DispatchIsLive() && Root->SystemMenu->LastHandle == 0 && (Style(form) & WS_MAXIMIZEBOX));
  EXPECT_TRUE(SendMessageA(form, WM_GETICON, ICON_BIG, 0) && SendMessageA(app, WM_GETICON, ICON_BIG, 0));
  Start();
  EXPECT_TRUE(DispatchIsLive() && Root->SystemMenu->LastHandle == uintptr_t(form));
  EXPECT_EQ(Style(form) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX), DWORD(WS_MINIMIZEBOX));
  auto freed = std::make_unique<TOMMultiElement>(Root->MainForm->Control);
  HostContainer(*freed, &CreateContainer<TLicenceFrame>);
  auto& licence = InnerOf<TLicenceFrame>(freed.get());
  const HWND frame = Frame(freed.get()), agree = licence.AgreeButton->Control->GetHandle();
  const HWND memo = InnerOf<TLicenceBody>(licence.BodyHost).LicenceText->Control->GetHandle();
  EXPECT_EQ(Text(memo), files::From1251(LoadResourceText("STR2")));
  freed.reset();
  EXPECT_FALSE(IsWindow(frame) || IsWindow(agree) || IsWindow(memo));
  Show(Root->WelcomePage, IntegerData(1));
  Click(Welcome().NextButton);
  EXPECT_TRUE(Shown(Root->LicencePage) && !Shown(Root->WelcomePage)) << "the others still lead on";
  struct TFired { TOMMultiElement* Page; uint16_t Index; TData Value; bool Shown; };
  std::vector<TFired> fired;
  for (TOMMultiElement* page : {Root->WelcomePage, Root->LicencePage, Root->FolderPage, Root->FinishPage}) {
    for (uint16_t i = 0; i < page->EventLinks.size(); ++i) {
      Tap(page->EventLinks[i], [&, page](TData& value, uint16_t index) { fired.push_back({page, index, value, Shown(page)}); }, false);
      page->EventLinks[i].Index = i; // the outEvent's own number
    }
    for (TData value : {StringData("yes"), IntegerData(0), IntegerData(2), IntegerData(0)}) {
      Show(page, value);
      EXPECT_EQ(Shown(page), !(value.Kind == dkInteger && value.IntValue == 0));
    }
  }
  EXPECT_TRUE(fired.empty()) << "showing and hiding fire nothing outwards";
  EXPECT_EQ(Remembered().Kind, dkNull) << "nothing remembered before the first Install";
  const struct { TOMMultiElement* Page; TOMButton* Button; uint16_t Index; uint8_t Kind; bool AtFire, After; } rows[] = {
      {Root->WelcomePage, Welcome().CancelButton, 1, dkNull, true, true}, {Root->WelcomePage, Welcome().NextButton, 0, dkInteger, true, false},
      {Root->LicencePage, Licence().CancelButton, 2, dkNull, true, true}, {Root->LicencePage, Licence().AgreeButton, 0, dkInteger, true, false},
      {Root->LicencePage, Licence().BackButton, 1, dkInteger, false, false}, {Root->FolderPage, Folder().CancelButton, 2, dkNull, true, true},
      {Root->FolderPage, Folder().BackButton, 1, dkInteger, true, false}, {Root->FolderPage, Folder().InstallButton, 0, dkString, false, false},
      {Root->FinishPage, InnerOf<TFinishFrame>(Root->FinishPage).DoneButton, 0, dkInteger, true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    Show(row.Page, IntegerData(1));
    fired.clear();
    Click(row.Button);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_TRUE(fired[0].Page == row.Page && fired[0].Index == row.Index && fired[0].Value.Kind == row.Kind);
    EXPECT_EQ(DataToString(fired[0].Value), row.Kind == dkString ? "C:\\Program Files" : row.Kind ? "0" : "");
    EXPECT_EQ(std::make_pair(fired[0].Shown, Shown(row.Page)), std::make_pair(row.AtFire, row.After));
  }
  EXPECT_EQ(Remembered().StrValue, "C:\\Program Files");
  Root->SetFolderText("C:\\");
  EXPECT_EQ(Remembered().StrValue, "C:\\Program Files");
  Show(Root->FolderPage, IntegerData(1));
  Click(Folder().InstallButton);
  EXPECT_EQ(fired.back().Value.StrValue + "|" + Remembered().StrValue, "C:\\|C:\\");
}

std::map<HWND, RECT> Places(HWND form) {
  std::map<HWND, RECT> places;
  for (HWND h : driver::Children(form, "")) {
    RECT& r = places[h] = driver::Rect(h);
    MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&r), 2);
  }
  return places;
}

// Empty when a static's or a button's text shows whole in it with its own font (or it has none, or it is a
// field, whose text scrolls), else the room it needs and has.
std::string TextCutOff(HWND h) {
  const std::wstring text = files::Wide(Text(h));
  if (text.empty() || lstrcmpiA(Class(h).c_str(), "Edit") == 0) return "";
  RECT client;
  GetClientRect(h, &client);
  const bool wraps = lstrcmpiA(Class(h).c_str(), "Static") == 0 && (Style(h) & SS_TYPEMASK) <= SS_RIGHT;
  RECT need{0, 0, wraps ? client.right : 0, 0};
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), int(text.size()), &need,
            DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (wraps ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  if (need.right <= client.right && need.bottom <= client.bottom) return "";
  return "needs " + std::to_string(need.right) + " x " + std::to_string(need.bottom) + ", has " +
         std::to_string(client.right) + " x " + std::to_string(client.bottom) + (wraps ? ", wrapped" : "");
}

// Moved to a screen of another resolution (WM_DPICHANGED with the place suggested), the form takes that
// place; every window of every page is scaled (edges within 2 pixels, fonts within one; a label sized
// to its text keeps its place) and every text still shows whole. Back on the first screen, all is as was.
TEST_F(Scheme, AScreenOfAnotherResolutionScalesEveryWindowAndEveryTextStillFits) {
  Start();
  Show(Root->FolderPage, IntegerData(1)); // the free space is shown once the page is
  Show(Root->WelcomePage, IntegerData(1));
  TWindowObject* form = Root->MainForm->Control;
  const HWND main = form->GetHandle();
  const UINT start = form->Dpi();
  auto& licence = InnerOf<TLicenceBody>(Licence().BodyHost);
  auto& folder = InnerOf<TFolderBody>(Folder().BodyHost);
  const std::set<HWND> sizedToText = {licence.ScrollHint->Control->GetHandle(), licence.AcceptHint->Control->GetHandle(),
                                      folder.RequiredSpace->Control->GetHandle(), folder.FreeSpace->Control->GetHandle()};
  const std::map<HWND, RECT> first = Places(main);
  std::map<HWND, LONG> fonts;
  for (const auto& [h, place] : first) {
    fonts[h] = FontOf(h).lfHeight;
    EXPECT_EQ("", TextCutOff(h)) << start << " DPI: \"" << Text(h) << "\" is cut off";
  }
  RECT client;
  GetClientRect(main, &client);
  using TAdjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT); // declared for Windows 10 only
  const auto adjust = reinterpret_cast<TAdjust>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  ASSERT_TRUE(adjust);
  for (const UINT dpi : {120u, 144u, 192u, start}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    RECT suggested{0, 0, MulDiv(client.right, int(dpi), int(start)), MulDiv(client.bottom, int(dpi), int(start))};
    adjust(&suggested, DWORD(GetWindowLongPtrW(main, GWL_STYLE)), FALSE, DWORD(GetWindowLongPtrW(main, GWL_EXSTYLE)),
           dpi);
    OffsetRect(&suggested, 50 - suggested.left, 40 - suggested.top);
    PostMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
    App.ProcessMessages();
    RECT now;
    GetWindowRect(main, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    const std::map<HWND, RECT> places = Places(main);
    ASSERT_EQ(first.size(), places.size());
    const auto within = [&](LONG unit, LONG edge, LONG by) {
      return std::abs(MulDiv(unit, int(dpi), int(start)) - edge) <= by;
    };
    for (const auto& [h, r] : places) {
      const RECT& was = first.at(h);
      EXPECT_TRUE(within(was.left, r.left, 2) && within(was.top, r.top, 2) &&
                  (sizedToText.count(h) || (within(was.right, r.right, 2) && within(was.bottom, r.bottom, 2))))
          << Class(h) << " \"" << Text(h) << "\" at " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
      EXPECT_TRUE(within(fonts.at(h), FontOf(h).lfHeight, 1)) << Text(h) << ": " << FontOf(h).lfHeight;
      EXPECT_EQ("", TextCutOff(h)) << "\"" << Text(h) << "\" is cut off";
    }
  }
  for (const auto& [h, r] : Places(main)) EXPECT_TRUE(EqualRect(&r, &first.at(h))) << Class(h) << " " << Text(h);
}

// The program file alone first, then the files in the manifest's order (a folder just before its first
// file), one at a time, the shortcut last; the finish page shows before the record is written; Done
// ends the loop, freeing nothing while it is handled.
TEST_F(Scheme, AnInstallationWritesInTheManifestsOrderAndTheRecordLast) {
  Start();
  const std::string folder = files::FreshFolder("install"), product = folder + "Varkelo\\", record = product + "dir.ini";
  const std::string link = DesktopFolder() + texts::Shortcut;
  DeleteFileW(files::Wide(link).c_str());
  std::vector<std::string> made; // in the order they must appear
  for (const files::TPayloadItem& item : files::InstalledItems()) {
    const size_t slash = item.Target.rfind('\\');
    const std::string under = slash == std::string::npos ? "" : product + item.Target.substr(0, slash);
    if (!under.empty() && std::find(made.begin(), made.end(), under) == made.end()) made.push_back(under);
    made.push_back(product + item.Target);
  }
  made.push_back(link);
  ASSERT_EQ(made.size(), 42u) << "38 files, 3 folders, the shortcut";
  auto existing = [&] { // how many of made exist, all before the first missing one
    size_t n = 0;
    while (n < made.size() && (files::IsFile(made[n]) || files::IsFolder(made[n]))) ++n;
    for (size_t k = n; k < made.size(); ++k) EXPECT_FALSE(files::IsFile(made[k]) || files::IsFolder(made[k])) << made[k];
    EXPECT_FALSE(files::IsFile(record));
    return n;
  };
  bool programFirst = false, finishShown = false;
  const auto program = LoadResourceStream("STREAM0");
  const std::string programBytes(reinterpret_cast<const char*>(program->Memory()), size_t(program->Size()));
  Tap(Root->ProgramFileWriter->EventLinks[0], [&](TData&, uint16_t) {
    programFirst = files::Tree(product).size() == 1 && files::Read(product + "Zelcap2-1.exe") == programBytes;
  });
  auto& sequence = InnerOf<TInstallationSequence>(Root->Installation);
  const std::pair<TOMHub*, const char*> hubs[] = {
      {sequence.MainHub, "main"}, {sequence.HelpHub, "help"}, {sequence.InfoHub, "info"}, {sequence.PictureHub, "picture"}};
  size_t before = 1; // the program file
  for (const auto& [hub, name] : hubs)
    for (size_t k = 0; k < hub->outStep.size(); ++k)
      Tap(hub->outStep[k], [&, name = name, k](TData&, uint16_t) {
        const size_t now = existing();
        EXPECT_LE(now, before + 1) << name << " hub, output " << k + 1 << " made more than one";
        before = now;
      });
  const TPointLink toFinish = Root->FinishSender->outEventData;
  Tap(Root->FinishSender->outEventData, [&, toFinish](TData& value, uint16_t) {
    EXPECT_EQ(existing(), made.size());
    Fire(toFinish, value);
    finishShown = Shown(Root->FinishPage);
    EXPECT_FALSE(files::IsFile(record));
  }, false);

  Show(Root->WelcomePage, IntegerData(0));
  Show(Root->FolderPage, IntegerData(1));
  Root->SetFolderText(folder.substr(0, folder.size() - 1));
  Click(Folder().InstallButton);
  EXPECT_TRUE(programFirst && finishShown && files::IsFile(record));
  EXPECT_EQ(InstallLog().Count(), 0u);

  Click(InnerOf<TFinishFrame>(Root->FinishPage).DoneButton);
  EXPECT_TRUE(Shown(Root->FinishPage) && !App.Terminated());
  const HWND form = Root->MainForm->Control->GetHandle();
  App.RunMessageLoop();
  EXPECT_TRUE(App.Terminated() && !IsWindow(form));
  DeleteFileW(files::Wide(link).c_str());
  files::RemoveTree(folder);
}

// /ih only first; /S and /LOG= anywhere; /D= unquoted last, to the end of the line but its trailing
// blanks, or quoted (the whole argument or only its value) anywhere. Blanks and control characters
// separate; a quote runs to the next; enclosing quotes go, of an argument or of a switch's value.
TEST(CommandLine, SwitchesAreSpelledExactlyAndTheFolderIsReadAsItIsQuoted) {
  const std::pair<std::string, TCommandLine> rows[] = {
      {"p", {}}, {"", {}}, {"p   ", {}}, {"p /ih /S", {true, true, "", ""}}, {"p \"/ih\"", {true, false, "", ""}},
      {"p x /ih /IH /ih2", {}}, {"p /S", {false, true, "", ""}}, {"p /s /S2 /SILENT \"/S \" /d=C:\\x /log=y /D", {}},
      {"p /LOG=C:\\a.log", {false, false, "", "C:\\a.log"}},
      {"p \"/LOG=C:\\мой лог.txt\" /S /LOG=", {false, true, "", ""}},
      {"p \"/LOG=C:\\мой лог.txt\" /S", {false, true, "", "C:\\мой лог.txt"}},
      {"p /LOG=\"a b\" /S", {false, true, "", "a b"}}, {"p /LOG=a\"b c\" /S", {false, true, "", "a\"b c\""}},
      {"p /D=C:\\Program Files", {false, false, "C:\\Program Files", "", true}},
      {"p /S /D=D:\\Другая  папка\\x /S /LOG=z  ", {false, true, "D:\\Другая  папка\\x /S /LOG=z", "", true}},
      {"p /D=", {false, false, "", "", true}}, {"p /D=\"\" /S", {false, true, "", "", true}},
      {"p x/D=C:\\y \"/D=C:\\z y\" /S", {false, true, "C:\\z y", "", true}},
      {"p /S /D=\"D:\\Другая папка\" /LOG=\"C:\\my logs\\setup.log\"",
       {false, true, "D:\\Другая папка", "C:\\my logs\\setup.log", true}},
      {"p \"/LOG=a b\" /D=C:\\x", {false, false, "C:\\x", "a b", true}},
      {"prog.exe  /ih\t/S\r\n\x01/LOG=last", {true, true, "", "last"}},
      {"\"C:\\Program Files\\Ombrel.exe\" /ih", {true, false, "", ""}}, {"Установка.exe /ih", {true, false, "", ""}},
      {"p \"\" /ih", {}}, {"p /i\"h x\" /S", {false, true, "", ""}}, {"p \"/ih x", {}}, {"p \"", {}}};
  const auto fields = [](const TCommandLine& c) {
    return std::make_tuple(c.Info, c.Silent, c.Folder, c.LogFile, c.FolderGiven);
  };
  for (const auto& [line, want] : rows) EXPECT_EQ(fields(want), fields(ReadCommandLine(line))) << line;
  const TCommandLine copy = ReadCommandLine("c /AFTER=12,34,56");
  EXPECT_EQ((std::vector<uint64_t>{12, 34, 56}), (std::vector<uint64_t>{copy.After, copy.AfterFile, copy.AfterReady}));
}

// Prepared as the program prepares itself before anything else.
const bool Prepared = [] {
  PrepareProcess(true);
  return SystemFolderSearchAvailable();
}();

// A library beside the program is found by its full path only. Loaded on demand, the common controls
// follow the manifest: version 6, from the side-by-side store.
TEST(ProcessSetUp, TheProgramsFolderIsOutOfTheSearchAndCommonControlsComeFromTheSideBySideStore) {
  ASSERT_TRUE(Prepared);
  const std::string beside = ProgramFolder() + "ombrel_beside.dll";
  ASSERT_TRUE(CopyFileA(files::DosPath(BESIDE_DLL).c_str(), beside.c_str(), FALSE));
  EXPECT_FALSE(LoadLibraryA("ombrel_beside.dll") || LoadLibraryExA("ombrel_beside.dll", nullptr, 0) ||
               LoadSystemLibrary(L"ombrel_beside.dll"));
  HMODULE direct = LoadLibraryExA(beside.c_str(), nullptr, 0);
  EXPECT_NE(direct, nullptr) << "the file itself loads";
  if (direct) FreeLibrary(direct);
  DeleteFileA(beside.c_str());
  HMODULE controls = LoadSystemLibrary(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(controls, path, MAX_PATH);
  CharLowerA(path);
  EXPECT_TRUE(std::strstr(path, "\\winsxs\\") && std::strstr(path, "common-controls")) << path;
}

} // namespace
