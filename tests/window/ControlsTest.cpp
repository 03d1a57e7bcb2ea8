// The controls: what their properties become in the native windows, pixels of
// the panel bevel and of a wrapped label, the read-only memo, edit and button
// notifications.
#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "omButton.h"
#include "omEdit.h"
#include "omGroupBox.h"
#include "omLabel.h"
#include "omMemo.h"
#include "omPanel.h"

#include <commctrl.h>

namespace {

class Controls : public ::testing::Test {
protected:
  void SetUp() override { StartDispatch(); }
  void TearDown() override { StopDispatch(); }
  THostForm Host{420, 320};
};

TEST_F(Controls, FontSizeGivesACellHeightOfSizePlusSix) {
  TOMButton button(Host.Form);
  EXPECT_EQ(FontOf(button.Control->GetHandle()).lfHeight, -11) << "before Init the parent's font";
  button.Font = MakeFontRec("Arial", 8, 1, 0, 1);
  button.Init();
  LOGFONTA lf = FontOf(button.Control->GetHandle());
  EXPECT_EQ(lf.lfHeight, 14);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfCharSet, 1);
}

TEST_F(Controls, ZeroWidthAndHeightKeepTheDefaultSize) {
  TOMButton button(Host.Form);
  button.Left = 7;
  button.Top = 9;
  button.Init();
  RECT r = RectOf(button.Control->GetHandle());
  EXPECT_EQ(r.bottom - r.top, 22);
  EXPECT_GT(r.right - r.left, 0);
}

TEST_F(Controls, PanelCaptionKeepsHeightMinus11AndGroupBoxTakesItsFont) {
  TOMPanel panel(Host.Form);
  panel.Font = MakeFontRec("Arial", 12, 0, 0, 1);
  panel.Caption = "Title";
  panel.Init();
  EXPECT_EQ(FontOf(panel.Control->GetHandle()).lfHeight, -11);

  TOMGroupBox group(Host.Form);
  EXPECT_EQ(ExStyleOf(group.Control->GetHandle()) & WS_EX_CONTROLPARENT, 0u);
  group.Font = MakeFontRec("Arial", 10, 0, 0xFF0000, 1);
  group.SetCaption("Folder");
  group.Init();
  EXPECT_EQ(FontOf(group.Control->GetHandle()).lfHeight, 16);
  EXPECT_EQ(TextOf(group.Control->GetHandle()), "Folder");
}

TEST_F(Controls, Ctl3DZeroGivesASunkenEdgeAndPanelBordersTheirFrames) {
  TOMEdit edit(Host.Form);
  edit.Init();
  EXPECT_FALSE(ExStyleOf(edit.Control->GetHandle()) & WS_EX_CLIENTEDGE);
  TOMEdit sunken(Host.Form);
  sunken.Ctl3D = 0;
  sunken.Init();
  HWND hwnd = sunken.Control->GetHandle();
  EXPECT_FALSE(StyleOf(hwnd) & WS_BORDER);
  EXPECT_TRUE(ExStyleOf(hwnd) & WS_EX_CLIENTEDGE);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ((RectOf(hwnd).right - RectOf(hwnd).left) - client.right, 2 * GetSystemMetrics(SM_CXEDGE));
  TOMLabel label(Host.Form);
  label.Ctl3D = 0;
  label.Init();
  EXPECT_TRUE(ExStyleOf(label.Control->GetHandle()) & WS_EX_CLIENTEDGE);

  // Panel frames: 1 plain border with sunken edge, 2 dialog frame.
  TOMPanel bordered(Host.Form), dialog(Host.Form);
  bordered.BorderStyle = 1;
  dialog.BorderStyle = 2;
  bordered.Init();
  dialog.Init();
  HWND b = bordered.Control->GetHandle(), d = dialog.Control->GetHandle();
  EXPECT_TRUE(StyleOf(b) & WS_BORDER);
  EXPECT_TRUE(ExStyleOf(b) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(StyleOf(d) & WS_BORDER);
  EXPECT_TRUE(ExStyleOf(d) & WS_EX_DLGMODALFRAME);
}

TEST_F(Controls, LabelHoverChangesColourAndUnderlineWhileTheMouseIsOver) {
  TOMLabel label(Host.Form);
  label.Font = MakeFontRec("Arial", 8, 0, 0x000000, 1);
  label.HoverColor = 0x0000FF;
  label.HoverUnderline = true;
  label.Caption = "link";
  label.Init();
  HWND hwnd = label.Control->GetHandle();
  ShowApplicationWindows(Host.App);
  ProcessMessages();
  EXPECT_FALSE(FontOf(hwnd).lfUnderline);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(FontOf(hwnd).lfUnderline);
  EXPECT_EQ(label.Control->Font().GetColor(), 0x0000FF);
  SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(FontOf(hwnd).lfUnderline);
  EXPECT_EQ(label.Control->Font().GetColor(), 0x000000);
}

// A page panel: no outer bevel, a raised inner bevel of 1, a border of 1.
TEST_F(Controls, PanelBevelRingsAreColourThenRaisedThenFill) {
  const COLORREF c = 0x00306090, light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  ASSERT_NE(light, dark);
  TOMPanel panel(Host.Form);
  Place(panel, 10, 10, 120, 80);
  panel.Color = int32_t(c);
  panel.BevelOuter = 0;
  panel.BevelInner = 2;
  panel.BevelWidth = 1;
  panel.BorderWidth = 1;
  panel.Font = MakeFontRec("Arial", 8, 0, 0, 1);
  panel.Init();
  HWND hwnd = panel.Control->GetHandle(); // made before the painting
  Pump(Host.Form->GetHandle());
  const struct {
    int X, Y;
    COLORREF Color;
  } pixels[] = {
      {0, 0, c},       {60, 0, c},       {0, 40, c},     {119, 40, c},   {60, 79, c}, // outermost ring in Color
      {60, 1, light},  {1, 40, light},   {118, 40, dark}, {60, 78, dark},             // raised ring
      {2, 2, c},       {60, 40, c},      {117, 77, c}};                               // fill
  for (const auto& p : pixels) EXPECT_EQ(PixelAt(hwnd, p.X, p.Y), p.Color) << p.X << "," << p.Y;
}

TEST_F(Controls, SystemColourFollowsTheButtonFace) {
  TOMPanel panel(Host.Form);
  Place(panel, 150, 10, 60, 40);
  panel.Color = int32_t(0xFF00000F);
  panel.Init();
  Pump(Host.Form->GetHandle());
  EXPECT_EQ(PixelAt(panel.Control->GetHandle(), 30, 20), GetSysColor(COLOR_BTNFACE));
}

// Rows of the client area that hold at least one dark pixel.
int TextRows(HWND hwnd, int width, int height, int* lastColumn) {
  int rows = 0;
  *lastColumn = -1;
  HDC dc = GetDC(hwnd);
  for (int y = 0; y < height; ++y) {
    bool dark = false;
    for (int x = 0; x < width; ++x) {
      COLORREF p = GetPixel(dc, x, y);
      if (GetRValue(p) < 128 && GetGValue(p) < 128 && GetBValue(p) < 128) {
        dark = true;
        *lastColumn = std::max(*lastColumn, x);
      }
    }
    rows += dark;
  }
  ReleaseDC(hwnd, dc);
  return rows;
}

TEST_F(Controls, AlignedLabelWrapsWordsInsideItsRectangleAndAnUnalignedOneDoesNot) {
  TOMLabel wrapped(Host.Form), single(Host.Form);
  for (TOMLabel* label : {&wrapped, &single}) {
    Place(*label, label == &wrapped ? 10 : 120, 100, 90, 120);
    label->Color = 0xFFFFFF;
    label->Font = MakeFontRec("Arial", 8, 0, 0, 1);
    label->Caption = "wrap these words inside a narrow label please";
  }
  wrapped.SetAlignment(0);
  wrapped.Init();
  single.Init();
  HWND hwnd = wrapped.Control->GetHandle();
  EXPECT_EQ(StyleOf(hwnd) & SS_TYPEMASK, DWORD(SS_LEFT));
  Pump(Host.Form->GetHandle());
  int last = 0;
  EXPECT_GT(TextRows(hwnd, 90, 120, &last), 14 * 2) << "several lines of text";
  EXPECT_LT(last, 90);
  EXPECT_LE(TextRows(single.Control->GetHandle(), 90, 120, &last), 14);
}

TEST_F(Controls, ReadOnlyMemoRejectsTypingAndScrollsOnPageDown) {
  EnableKeyboardNavigation(Host.Form);
  TOMMemo memo(Host.Form);
  Place(memo, 10, 10, 300, 120);
  memo.ReadOnly = 0;
  memo.ScrollBars = 2;
  memo.Ctl3D = 0;
  memo.Color = int32_t(0xFF000005);
  memo.Font = MakeFontRec("Arial", 8, 0, 0, 1);
  for (int i = 0; i < 80; ++i) memo.Text += "Line " + std::to_string(i) + "\r\n";
  memo.Init();
  HWND hwnd = memo.Control->GetHandle();
  const DWORD style = StyleOf(hwnd);
  EXPECT_EQ(style & (ES_READONLY | ES_MULTILINE | WS_VSCROLL), DWORD(ES_READONLY | ES_MULTILINE | WS_VSCROLL));
  EXPECT_EQ(style & (WS_HSCROLL | ES_AUTOHSCROLL), 0u) << "long lines wrap";
  ShowApplicationWindows(Host.App);
  SetForegroundWindow(Host.Form->GetHandle());
  SetFocus(hwnd);
  ProcessMessages();
  ASSERT_EQ(GetFocus(), hwnd);
  std::string before = memo.Control->GetText();
  PostMessageA(hwnd, WM_CHAR, 'x', 0);
  PostMessageA(hwnd, WM_KEYDOWN, VK_DELETE, 0);
  ProcessMessages();
  EXPECT_EQ(memo.Control->GetText(), before);
  EXPECT_EQ(SendMessageA(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  PostMessageA(hwnd, WM_KEYDOWN, VK_NEXT, 0);
  ProcessMessages();
  EXPECT_GT(SendMessageA(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(GetFocus(), hwnd);
}

TEST_F(Controls, MemoListOperations) {
  TOMMemo memo(Host.Form);
  memo.Init();
  TRecorder changes;
  memo.outChange = changes.In();
  memo.AddLine("one");
  memo.AddLine("two");
  std::string text;
  memo.GetText(text);
  EXPECT_EQ(text, "one\r\ntwo\r\n");
  ASSERT_FALSE(changes.Values.empty());
  EXPECT_EQ(changes.Values.back().StrValue, "one\r\ntwo\r\n");
  memo.SetText("a\r\nb");
  memo.GetText(text);
  EXPECT_EQ(text, "a\r\nb\r\n");
  memo.Clear();
  EXPECT_EQ(changes.Values.back().Kind, dkNull);
  EXPECT_EQ(memo.Control->GetText(), "");
}

TEST_F(Controls, DisabledEditStillTakesTextAndReportsTheChangeOnce) {
  TOMEdit edit(Host.Form);
  edit.Text = "C:\\Program Files";
  edit.Enabled = false;
  edit.Init();
  TRecorder changes;
  edit.outChange = changes.In();
  HWND hwnd = edit.Control->GetHandle();
  EXPECT_FALSE(IsWindowEnabled(hwnd));
  EXPECT_TRUE(changes.Values.empty()) << "the initial text reports nothing";
  TData value = StringData("D:\\Games"), request;
  edit.inText(value, 0);
  ASSERT_EQ(changes.Values.size(), 1u);
  EXPECT_EQ(changes.Values[0].Kind, dkString);
  EXPECT_EQ(changes.Values[0].StrValue, "D:\\Games");
  EXPECT_EQ(TextOf(hwnd), "D:\\Games");
  edit.varText(request, 0);
  EXPECT_EQ(request.Kind, dkString);
  EXPECT_EQ(request.StrValue, "D:\\Games");
}

TEST_F(Controls, EnterFiresOutEnterAndClearsTheFieldQuietly) {
  TOMEdit edit(Host.Form);
  edit.Text = "typed";
  edit.Init();
  TRecorder enters, changes, keys;
  edit.outEnter = enters.In();
  edit.outChange = changes.In();
  edit.outKeyDown = keys.In();
  HWND hwnd = edit.Control->GetHandle();
  PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0);
  ProcessMessages();
  ASSERT_EQ(enters.Values.size(), 1u);
  EXPECT_EQ(enters.Values[0].StrValue, "typed");
  EXPECT_EQ(edit.Control->GetText(), "");
  EXPECT_TRUE(changes.Values.empty());
  EXPECT_TRUE(keys.Values.empty());
  PostMessageA(hwnd, WM_KEYDOWN, 'A', 0);
  ProcessMessages();
  ASSERT_EQ(keys.Values.size(), 1u);
  EXPECT_EQ(keys.Values[0].IntValue, 'A');
}

TEST_F(Controls, ButtonClickSendsACopyOfData) {
  TOMButton next(Host.Form), cancel(Host.Form);
  next.Data = IntegerData(0);
  next.SetCaption("Next");
  next.Init();
  cancel.Left = 100;
  cancel.Init();
  TRecorder clicks;
  next.outClick = clicks.In(0);
  cancel.outClick = clicks.In(1);
  SendMessageA(next.Control->GetHandle(), BM_CLICK, 0, 0);
  SendMessageA(cancel.Control->GetHandle(), BM_CLICK, 0, 0);
  ASSERT_EQ(clicks.Values.size(), 2u);
  EXPECT_EQ(clicks.Values[0].Kind, dkInteger);
  EXPECT_EQ(clicks.Values[0].IntValue, 0);
  EXPECT_EQ(clicks.Values[1].Kind, dkNull);
  EXPECT_EQ(next.Data.Kind, dkInteger);
  EXPECT_EQ(TextOf(next.Control->GetHandle()), "Next");
}

TEST_F(Controls, InVisibleShowsAndHidesAndVarHandleGivesTheWindow) {
  TOMPanel panel(Host.Form);
  panel.Visible = false;
  panel.Init();
  HWND hwnd = panel.Control->GetHandle();
  EXPECT_FALSE(StyleOf(hwnd) & WS_VISIBLE);
  TData yes = IntegerData(1), no = IntegerData(0), handle;
  panel.inVisible(yes, 2);
  EXPECT_TRUE(StyleOf(hwnd) & WS_VISIBLE);
  panel.inVisible(no, 2);
  EXPECT_FALSE(StyleOf(hwnd) & WS_VISIBLE);
  panel.varHandle(handle, 0);
  EXPECT_EQ(handle.Kind, dkInteger);
  EXPECT_EQ(reinterpret_cast<HWND>(intptr_t(handle.IntValue)), hwnd);
}

TEST_F(Controls, LabelTextFromInTextAndAutoSize) {
  TOMLabel label(Host.Form);
  label.Width = 10;
  label.Height = 10;
  label.Font = MakeFontRec("Arial", 10, 0, 0, 1);
  label.SetAutoSize(true);
  label.Init();
  TData value = StringData("Free: 1234 Mb");
  label.inText(value, 0);
  HWND hwnd = label.Control->GetHandle();
  EXPECT_EQ(TextOf(hwnd), "Free: 1234 Mb");
  RECT r = RectOf(hwnd);
  EXPECT_GT(r.right - r.left, 40);
  EXPECT_GT(r.bottom - r.top, 10);
}

TEST_F(Controls, MouseFocusAndHintReachTheElement) {
  TOMPanel panel(Host.Form);
  panel.Width = 100;
  panel.Height = 60;
  panel.Hint = "Panel hint";
  panel.Init();
  TOMButton button(Host.Form);
  button.Left = 120;
  button.Init();
  TRecorder downs, ups, moves, clicks, focus;
  panel.outMouseDown = downs.In();
  panel.outMouseUp = ups.In();
  panel.outMouseMove = moves.In();
  panel.outClick = clicks.In();
  button.outSetFocus = focus.In();
  HWND hwnd = panel.Control->GetHandle();
  ShowApplicationWindows(Host.App);
  ProcessMessages();
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 8)); // button from the last event's keys
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
  SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(9, 9));
  auto ints = [](const TRecorder& r) {
    std::vector<int32_t> v;
    for (const TData& d : r.Values) v.push_back(d.IntValue);
    return v;
  };
  EXPECT_EQ(ints(downs), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(ints(ups), (std::vector<int32_t>{0}));
  EXPECT_EQ(ints(moves), (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(panel.MouseState.Button, 2);
  EXPECT_EQ(panel.MouseState.Pos, int32_t(MAKELPARAM(9, 9)));
  EXPECT_EQ(clicks.Values.size(), 1u) << "the press and release make a click";

  SetForegroundWindow(Host.Form->GetHandle());
  SetFocus(button.Control->GetHandle());
  ProcessMessages();
  EXPECT_EQ(focus.Values.size(), 1u);

  // The hint became a tool of the program's tooltip window.
  HWND tip = CreateTooltip();
  ASSERT_TRUE(IsWindow(tip));
  EXPECT_EQ(ClassOf(tip), "tooltips_class32");
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  char text[64] = {};
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.hwnd = hwnd;
  ti.uId = 1;
  ti.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, "Panel hint");
}

} // namespace
