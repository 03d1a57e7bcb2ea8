// The message box element: buttons and icon of the box, its owner, and the
// result codes. A helper thread finds the box and answers it like a user.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "omMessage.h"

namespace {

struct TBoxSeen {
  std::string Text;
  std::string Title;
  HWND Owner = nullptr;
  std::vector<int> Buttons; // the visible ones among IDOK..IDNO
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
  for (int id = IDOK; id <= IDNO; ++id)
    if (HWND button = GetDlgItem(box, id))
      if (IsWindowVisible(button)) seen->Buttons.push_back(id);
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
  message.outResult = results.In();
  TData value = IntegerData(0), again = IntegerData(0);
  TBoxSeen yes = Ask(message, value, IDYES);
  ASSERT_TRUE(yes.Found);
  EXPECT_EQ(yes.Text, "Cancel the setup?");
  EXPECT_EQ(yes.Title, "Setup");
  EXPECT_EQ(yes.Owner, host.Form->GetHandle());
  EXPECT_EQ(yes.Buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_TRUE(yes.Icon);
  Ask(message, again, IDNO);
  ASSERT_EQ(results.Values.size(), 2u);
  EXPECT_EQ(results.Values[0].Kind, dkInteger);
  EXPECT_EQ(results.Values[0].IntValue, 6);
  EXPECT_EQ(results.Values[1].IntValue, 7);
}

// Buttons and icon outside the tables give a plain OK box; with no text the
// box shows the incoming value and consumes it.
TEST_F(MessageBoxes, PlainOkBoxShowsTheIncomingValueWhenTheTextIsEmpty) {
  TOMMessage message;
  message.Caption = "Title";
  message.Buttons = 7;
  message.IconKind = 9;
  TRecorder results;
  message.outResult = results.In();
  TData value = IntegerData(42);
  TBoxSeen seen = Ask(message, value, IDOK);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Buttons, (std::vector<int>{IDOK}));
  EXPECT_FALSE(seen.Icon);
  EXPECT_EQ(seen.Owner, nullptr) << "no application window: no owner";
  EXPECT_EQ(seen.Text, "42");
  EXPECT_EQ(seen.Title, "Title");
  EXPECT_EQ(value.Kind, dkNull) << "the value was consumed";
  ASSERT_EQ(results.Values.size(), 1u);
  EXPECT_EQ(results.Values[0].IntValue, IDOK);
}

TEST(MessageStyles, TablesMapToMessageBoxStylesAndOutOfRangeToNothing) {
  const uint32_t buttons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL, MB_ABORTRETRYIGNORE, MB_OK};
  const uint32_t icons[] = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONEXCLAMATION, 0};
  for (uint8_t i = 0; i < 7; ++i) {
    const uint8_t value = i < 6 ? i : 9; // the last row: a value past the table
    EXPECT_EQ(MessageButtonStyle(value), buttons[i]) << int(value);
    EXPECT_EQ(MessageIconStyle(value), icons[i]) << int(value);
  }
}

} // namespace
