// The whole root container in-process: its buttons pressed one after the
// other, with probes spliced into its own links, to see in which order the
// pages are shown and hidden and when the location record is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "InstallerProcess.h"
#include "Window.h"
#include "WizardRun.h"
#include "omMainForm_6E2E74C.h"

using namespace driver;

namespace {

// Before the message loop runs the form itself is not on screen yet, so a
// frame or a button counts as shown by its own WS_VISIBLE.
bool Switched(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::vector<HWND> ShownFrames(HWND form) {
  std::vector<HWND> shown;
  for (HWND frame : PageFrames(form))
    if (Switched(frame)) shown.push_back(frame);
  return shown;
}

HWND FrameButton(HWND frame, const std::string& caption) {
  for (HWND button : Controls(frame, "Button", caption))
    if (Switched(button) && IsWindowEnabled(button)) return button;
  return nullptr;
}

// Which pages are shown, told by the button only each has; sorted by name.
std::string Shown(HWND form) {
  std::vector<std::string> names;
  for (HWND frame : ShownFrames(form)) {
    if (FrameButton(frame, texts::Next))
      names.push_back("welcome");
    else if (FrameButton(frame, texts::Agree))
      names.push_back("licence");
    else if (FrameButton(frame, texts::Install))
      names.push_back("folder");
    else if (FrameButton(frame, texts::Done))
      names.push_back("finish");
    else
      names.push_back("?");
  }
  std::sort(names.begin(), names.end());
  std::string pages;
  for (const std::string& name : names) pages += (pages.empty() ? "" : ",") + name;
  return pages;
}

struct TMoment {
  std::string Point;  // "name" before the link fires, "name+" after it returned
  std::string Pages;  // frames on screen at that moment
  bool Record;        // dir.ini exists
};

// Stands in one of the container's links and passes every value on to the
// original target, noting the moment before and after.
class TProbe : public TOMObject {
public:
  std::string Name;
  TPointLink Original;
  HWND Form = nullptr;
  std::string RecordPath;
  std::vector<TMoment>* Moments = nullptr;

  void inDo(TData& value, uint16_t) {
    if (value.Kind == dkInteger)
      Note(Name + "=" + std::to_string(value.IntValue));
    else if (value.Kind == dkString)
      Note(Name + "=" + value.StrValue);
    else
      Note(Name);
    Fire(Original, value);
    Note(Name + "+");
  }
  void Note(const std::string& point) {
    Moments->push_back({point, Shown(Form), GetFileAttributesA(RecordPath.c_str()) != INVALID_FILE_ATTRIBUTES});
  }
};

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class RootContainer : public ::testing::Test {
protected:
  std::unique_ptr<TClassMainForm_6E2E74C> Scheme;
  HWND Form = nullptr;
  std::vector<TMoment> Moments;
  std::vector<std::unique_ptr<TProbe>> Probes;
  std::string Folder;

  void SetUp() override {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "ombrel-root-" + std::to_string(GetCurrentProcessId());
    RemoveTree(Folder);
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
    Scheme = std::make_unique<TClassMainForm_6E2E74C>();
    Form = Scheme->MainForm->Control->GetHandle();
  }
  void TearDown() override {
    Scheme.reset();
    // The installation also put its shortcut on the desktop. Wine may still
    // hold the files open for a moment (it makes a launcher of the shortcut).
    DeleteFileW(Text1251ToWide(UserDesktopFolder() + "\\" + ShortcutName()).c_str());
    EXPECT_TRUE(WaitUntil([&] { return RemoveTree(Folder); }));
  }

  void Splice(TPointLink& link, const std::string& name) {
    auto probe = std::make_unique<TProbe>();
    probe->Name = name;
    probe->Original = link;
    probe->Form = Form;
    probe->RecordPath = Folder + "\\Varkelo\\dir.ini";
    probe->Moments = &Moments;
    link = MakePointLink<&TProbe::inDo>(0, probe.get());
    Probes.push_back(std::move(probe));
  }

  // Presses a shown button of the page on screen, the way a click does.
  void Press(const std::string& caption) {
    std::vector<HWND> frames = ShownFrames(Form);
    ASSERT_EQ(1u, frames.size()) << Shown(Form);
    HWND button = FrameButton(frames.front(), caption);
    ASSERT_NE(nullptr, button) << caption;
    Moments.clear();
    SendMessageA(button, BM_CLICK, 0, 0);
  }

  // Presses a button that opens the cancel question; a second thread waits
  // for the question and answers it. The text of the question, or nothing
  // when none came.
  std::string PressAndAnswer(const std::string& caption, int answer) {
    std::atomic<bool> pressed{false};
    std::string text;
    std::thread answering([&] {
      HWND box = nullptr;
      WaitUntil([&] {
        box = FindWindowA("#32770", texts::QuestionCaption.c_str());
        return (box && IsWindowVisible(box)) || pressed;
      });
      if (!box) return;
      for (HWND s : Controls(box, "Static")) text += WindowText(s);
      PostMessageA(GetDlgItem(box, answer), BM_CLICK, 0, 0);
    });
    Press(caption);
    pressed = true;
    answering.join();
    return text;
  }

  std::string Trace() const {
    std::string text;
    for (const TMoment& m : Moments) text += m.Point + "[" + m.Pages + (m.Record ? ",record" : "") + "] ";
    return text;
  }
};

TEST_F(RootContainer, PagesFollowTheButtonsAndTheRecordComesAfterTheFinishPage) {
  Splice(Scheme->LicenceSender->outEventData, "licence");
  Splice(Scheme->WelcomeSender->outEventData, "welcome");
  Splice(Scheme->FolderSender->outEventData, "folder");
  Splice(Scheme->FinishSender->outEventData, "finish");
  Splice(Scheme->FolderPage->EventLinks[0], "install");
  Splice(Scheme->ProgramFileWriter->EventLinks[0], "installation");
  Splice(Scheme->QuitHub->outStep[0], "quit");
  Splice(Scheme->CancelHub->outStep[0], "question");
  Splice(Scheme->CancelQuestion->outResult, "answer");
  Splice(Scheme->YesTest->outMatch, "yes");

  // What the entry's message loop does first: show the form, let it paint.
  Scheme->MainForm->Start();
  ShowApplicationWindows(ApplicationWindow);
  Pump();
  EXPECT_EQ("welcome", Shown(Form));

  // Cancel, No: the question, the answer No (7) goes nowhere; the page stays.
  EXPECT_EQ(texts::QuestionText, PressAndAnswer(texts::Cancel, IDNO));
  EXPECT_EQ("question[welcome] answer=7[welcome] answer+[welcome] question+[welcome] ", Trace());
  EXPECT_EQ("welcome", Shown(Form));

  // Next: the licence page comes first, then the welcome frame hides.
  Press(texts::Next);
  EXPECT_EQ("licence=1[welcome] licence+[licence,welcome] ", Trace());
  EXPECT_EQ("licence", Shown(Form));

  EXPECT_EQ(texts::QuestionText, PressAndAnswer(texts::Cancel, IDNO));
  EXPECT_EQ("question[licence] answer=7[licence] answer+[licence] question+[licence] ", Trace());

  // Licence Back: the licence frame hides first, then the welcome page comes.
  Press(texts::Back);
  EXPECT_EQ("welcome=1[] welcome+[welcome] ", Trace());
  EXPECT_EQ("welcome", Shown(Form));

  Press(texts::Next);
  // Agree: the folder page comes first, then the licence frame hides.
  Press(texts::Agree);
  EXPECT_EQ("folder=1[licence] folder+[folder,licence] ", Trace());
  EXPECT_EQ("folder", Shown(Form));

  // Folder Back leads to the licence page, shown before the folder frame hides.
  Press(texts::Back);
  EXPECT_EQ("licence=1[folder] licence+[folder,licence] ", Trace());
  EXPECT_EQ("licence", Shown(Form));
  Press(texts::Agree);

  // Install into our own folder: no page from the press until the finish
  // page; the record only after the installation has returned, by then the
  // finish page is on screen.
  ASSERT_EQ("folder", Shown(Form));
  std::vector<HWND> edits = Controls(ShownFrames(Form).front(), "Edit");
  ASSERT_EQ(1u, edits.size());
  SetWindowTextA(edits.front(), Folder.c_str());
  Press(texts::Install);
  EXPECT_EQ("install=" + Folder + "[] installation=" + Folder +
                "\\Varkelo\\Zelcap2-1.exe[] finish=1[] finish+[finish] installation+[finish] "
                "install+[finish,record] ",
            Trace());
  EXPECT_EQ("finish", Shown(Form));
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (Folder + "\\Varkelo\\dir.ini").c_str());
  EXPECT_EQ(Folder + "\\Varkelo\\", std::string(dir));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Folder + "\\Varkelo\\Zelcap2-1.exe").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((Folder + "\\Varkelo\\Info\\kelso.htm").c_str()));

  // Done ends the program: the quit goes out while the finish frame stays
  // (the window closing takes it away), and the message loop ends.
  Press(texts::Done);
  EXPECT_EQ("quit=0[finish,record] quit+[finish,record] ", Trace());
  RunMessageLoop(ApplicationWindow);
  EXPECT_TRUE(Terminated());
  EXPECT_FALSE(IsWindow(Form));
}

} // namespace
