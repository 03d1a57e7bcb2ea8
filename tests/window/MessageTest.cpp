// The message box element: buttons and icon of the box, its owner, and the
// result codes. A helper thread finds the box and answers it like a user.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "omMessage.h"

namespace {

struct TBoxSeen {
  std::string Text;
  std::string Title;
  HWND Owner = nullptr;
  bool Shown[8] = {}; // by button id IDOK..IDNO
  bool Icon = false;
  bool Found = false;
};

BOOL CALLBACK FindIconStatic(HWND child, LPARAM param) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof(name));
  if (_stricmp(name, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0)
    *reinterpret_cast<bool*>(param) = true;
  return TRUE;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  if (std::string(name) == "#32770" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Waits for the box on the GUI thread, records what it shows, presses answer.
void AnswerBox(DWORD guiThread, int answer, TBoxSeen* seen) {
  HWND box = nullptr;
  for (int i = 0; i < 500 && !box; ++i) {
    EnumThreadWindows(guiThread, &FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!box) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  seen->Found = true;
  char text[256] = {};
  GetWindowTextA(box, text, sizeof(text));
  seen->Title = text;
  HWND label = GetDlgItem(box, 0xFFFF);
  if (!label) label = GetDlgItem(box, 100); // the text control's id differs between systems
  if (label) {
    GetWindowTextA(label, text, sizeof(text));
    seen->Text = text;
  }
  seen->Owner = GetWindow(box, GW_OWNER);
  for (int id = IDOK; id <= IDNO; ++id) {
    HWND button = GetDlgItem(box, id);
    seen->Shown[id] = button && IsWindowVisible(button);
  }
  EnumChildWindows(box, &FindIconStatic, reinterpret_cast<LPARAM>(&seen->Icon));
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

class MessageBoxes : public ::testing::Test {
protected:
  void SetUp() override { StartDispatch(); }
  void TearDown() override { StopDispatch(); }

  // Shows the box through inMessage, answered with the given button.
  TBoxSeen Ask(TOMMessage& message, TData& value, int answer) {
    TBoxSeen seen;
    std::thread helper(AnswerBox, GetCurrentThreadId(), answer, &seen);
    message.inMessage(value, 0);
    helper.join();
    return seen;
  }
};

TEST_F(MessageBoxes, YesNoWithExclamationGivesSixOrSeven) {
  THostForm host;
  TOMMessage message;
  message.Text = "Cancel the setup?";
  message.Caption = "Setup";
  message.Buttons = 2;
  message.IconKind = 3;
  TRecorder results;
  message.outResult = MakePointLink<&TRecorder::inValue>(0, &results);
  TData value = IntegerData(0);
  TBoxSeen yes = Ask(message, value, IDYES);
  ASSERT_TRUE(yes.Found);
  EXPECT_EQ(yes.Title, "Setup");
  EXPECT_EQ(yes.Owner, host.Form->GetHandle());
  EXPECT_TRUE(yes.Shown[IDYES]);
  EXPECT_TRUE(yes.Shown[IDNO]);
  EXPECT_FALSE(yes.Shown[IDOK]);
  EXPECT_FALSE(yes.Shown[IDCANCEL]);
  EXPECT_TRUE(yes.Icon);
  TData again = IntegerData(0);
  Ask(message, again, IDNO);
  ASSERT_EQ(results.Values.size(), 2u);
  EXPECT_EQ(results.Values[0].Kind, dkInteger);
  EXPECT_EQ(results.Values[0].IntValue, 6);
  EXPECT_EQ(results.Values[1].IntValue, 7);
}

TEST_F(MessageBoxes, ValuesOutsideTheTablesGiveAPlainOkBox) {
  EXPECT_EQ(MessageButtonStyle(7), uint32_t(MB_OK));
  EXPECT_EQ(MessageIconStyle(9), 0u);
  TOMMessage message;
  message.Text = "Plain";
  message.Buttons = 7;
  message.IconKind = 9;
  TRecorder results;
  message.outResult = MakePointLink<&TRecorder::inValue>(0, &results);
  TData value;
  TBoxSeen seen = Ask(message, value, IDOK);
  ASSERT_TRUE(seen.Found);
  EXPECT_TRUE(seen.Shown[IDOK]);
  EXPECT_FALSE(seen.Shown[IDCANCEL]);
  EXPECT_FALSE(seen.Shown[IDYES]);
  EXPECT_FALSE(seen.Shown[IDNO]);
  EXPECT_FALSE(seen.Icon);
  EXPECT_EQ(seen.Owner, nullptr) << "no application window: no owner";
  ASSERT_EQ(results.Values.size(), 1u);
  EXPECT_EQ(results.Values[0].IntValue, IDOK);
}

TEST_F(MessageBoxes, EmptyTextShowsTheIncomingValue) {
  TOMMessage message;
  message.Caption = "Title";
  TRecorder results;
  message.outResult = MakePointLink<&TRecorder::inValue>(0, &results);
  TData value = IntegerData(42);
  TBoxSeen seen = Ask(message, value, IDOK);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, "42");
  EXPECT_EQ(seen.Title, "Title");
  EXPECT_EQ(value.Kind, dkNull) << "the value was consumed";
}

TEST(MessageStyles, TablesMapToMessageBoxStyles) {
  const uint32_t buttons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL, MB_ABORTRETRYIGNORE};
  for (uint8_t i = 0; i < 6; ++i) EXPECT_EQ(MessageButtonStyle(i), buttons[i]) << int(i);
  const uint32_t icons[] = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONEXCLAMATION};
  for (uint8_t i = 0; i < 6; ++i) EXPECT_EQ(MessageIconStyle(i), icons[i]) << int(i);
}

} // namespace
