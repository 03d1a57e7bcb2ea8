// The window-system layer seen through Win32: classes, styles, sizes, fonts,
// the message loop and Tab navigation.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "omButton.h"
#include "omEdit.h"

namespace {

struct TKindCase {
  const char* Name;
  TWindowObject* (*Make)(TWindowObject* parent);
  const char* ClassName;
  DWORD Style;
  DWORD ExStyle;
  int Width;  // 0: not checked
  int Height; // 0: not checked
};

TWindowObject* MakePanel(TWindowObject* p) { return CreatePanel(p, TPanelData()); }
TWindowObject* MakeButton(TWindowObject* p) { return CreateButton(p, "B"); }
TWindowObject* MakeLabel(TWindowObject* p) { return CreateLabel(p, "L"); }
TWindowObject* MakeGroupBox(TWindowObject* p) { return CreateGroupBox(p, "G"); }
TWindowObject* MakeEdit(TWindowObject* p) { return CreateEdit(p, 0); }
TWindowObject* MakeMemo(TWindowObject* p) { return CreateEdit(p, eoMultiLine | eoNoHScroll); }

TEST(LayerControls, EachKindHasItsClassStyleAndDefaultSize) {
  THostForm host;
  const TKindCase cases[] = {
      {"panel", MakePanel, "Static", 0x5000018C, WS_EX_CONTROLPARENT, 0, 0},
      {"button", MakeButton, "Button", 0x50011000, 0, 0, 22},
      {"label", MakeLabel, "Static", 0x5000018C, 0, 0, 22},
      {"group box", MakeGroupBox, "Button", 0x56030007, WS_EX_CONTROLPARENT, 0, 0},
      {"edit", MakeEdit, "Edit", 0x50810000 | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 100, 22},
      {"memo", MakeMemo, "Edit", 0x50810000 | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, 0, 200, 200},
  };
  for (const TKindCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TWindowObject* object = c.Make(host.Form);
    HWND hwnd = object->GetHandle();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(_stricmp(ClassOf(hwnd).c_str(), c.ClassName), 0) << ClassOf(hwnd);
    const DWORD style = StyleOf(hwnd);
    // The edit control takes WS_BORDER over at creation and draws the frame itself.
    DWORD expected = c.ClassName == std::string("Edit") ? c.Style & ~DWORD(WS_BORDER) : c.Style;
    EXPECT_EQ(style & expected, expected) << std::hex << style;
    EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), DWORD(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(ExStyleOf(hwnd) & c.ExStyle, c.ExStyle) << std::hex << ExStyleOf(hwnd);
    EXPECT_EQ(GetParent(hwnd), host.Form->GetHandle());
    RECT r = RectOf(hwnd);
    if (c.Width) { EXPECT_EQ(r.right - r.left, c.Width); }
    if (c.Height) { EXPECT_EQ(r.bottom - r.top, c.Height); }
  }
  // A single-line edit keeps the auto-scroll styles but has no scroll bars.
  EXPECT_EQ(StyleOf(CreateEdit(host.Form, 0)->GetHandle()) & (WS_HSCROLL | WS_VSCROLL), 0u);
}

TEST(LayerControls, NativeWindowsAreMadeOnDemandParentsFirst) {
  TWindowObject* app = CreateApplicationWindow();
  TWindowObject* form = CreateForm(app, "Lazy");
  TWindowObject* panel = CreatePanel(form, TPanelData());
  TWindowObject* button = CreateButton(panel, "Go");
  button->SetBounds(5, 6, 55, 28);
  button->SetText("Later");
  EXPECT_EQ(form->PeekHandle(), nullptr);
  EXPECT_EQ(button->PeekHandle(), nullptr);
  HWND hwnd = button->GetHandle();
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(GetParent(hwnd), panel->PeekHandle());
  EXPECT_EQ(GetWindow(form->PeekHandle(), GW_OWNER), app->PeekHandle());
  EXPECT_EQ(ClassOf(app->PeekHandle()), "App");
  EXPECT_EQ(ClassOf(form->PeekHandle()), "Form");
  EXPECT_EQ(TextOf(hwnd), "Later");
  RECT r = RectOf(hwnd);
  MapWindowPoints(HWND_DESKTOP, panel->PeekHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(Corners(r), (std::vector<LONG>{5, 6, 55, 28}));
  // The application window: a popup with caption, system menu and minimise box.
  const DWORD appStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  EXPECT_EQ(StyleOf(app->PeekHandle()) & appStyle, appStyle);
  EXPECT_TRUE(ExStyleOf(app->PeekHandle()) & WS_EX_APPWINDOW);
  FreeWindowObject(app);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(ApplicationWindow, nullptr);
}

TEST(LayerControls, FreeingAnObjectTellsItsElementAndDestroysTheWindow) {
  THostForm host;
  auto button = std::make_unique<TOMButton>(host.Form);
  button->Init();
  HWND hwnd = button->Control->GetHandle();
  FreeWindowObject(host.App); // the application window goes first at the end of the loop
  host.App = nullptr;
  EXPECT_EQ(button->Control, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  button.reset(); // the element copes with its window being gone
}

TEST(LayerColors, NegativeValuesNameSystemColours) {
  const std::pair<uint32_t, COLORREF> rows[] = {{0xFF00000F, GetSysColor(COLOR_BTNFACE)},
                                                {0x8000000F, GetSysColor(COLOR_BTNFACE)},
                                                {0xFF000005, GetSysColor(COLOR_WINDOW)},
                                                {0x00123456, 0x00123456}};
  for (const auto& r : rows) EXPECT_EQ(ResolveColor(int32_t(r.first)), r.second) << std::hex << r.first;
}

TEST(LayerFonts, FaceIsCutTo31CharactersAndBoldFollowsTheWeightRule) {
  TFontObject font;
  font.SetName(std::string(40, 'A') + "tail");
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(font.GetHandle(), sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'A'));

  font.SetName("Arial");
  font.SetStyle(1 | 2 | 4 | 8);
  GetObjectA(font.GetHandle(), sizeof(lf), &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  font.SetStyle(0);
  GetObjectA(font.GetHandle(), sizeof(lf), &lf);
  EXPECT_EQ(lf.lfWeight, 0);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
}

TEST(LayerFonts, ChildrenStartWithTheirParentsFontAndChangesReachTheWindow) {
  THostForm host;
  host.Form->SetFontName("Arial");
  host.Form->SetFontHeight(20);
  TWindowObject* label = CreateLabel(host.Form, "x");
  HWND hwnd = label->GetHandle();
  LOGFONTA lf = FontOf(hwnd);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, 20);
  label->SetFontHeight(-30);
  EXPECT_EQ(FontOf(hwnd).lfHeight, -30);
}

// ------------------------------------------------------------------ the loop
// The hook sees the form's messages first and can swallow them; a quit posted
// between other messages lets those run.
TEST(LayerLoop, HookSeesMessagesFirstAndQuitLetsQueuedOnesRun) {
  THostForm host;
  struct THook {
    int Seen = 0;
    bool Hook(TWindowObject*, TMessage& m) {
      Seen += m.Msg == WM_APP + 1;
      if (m.Msg != WM_SETTEXT) return false;
      m.Result = TRUE;
      return true;
    }
  } hook;
  HWND hwnd = host.Form->GetHandle();
  host.Form->OnMessageHook = MakeHandler<&THook::Hook>(&hook);
  SetWindowTextA(hwnd, "changed");
  EXPECT_EQ(TextOf(hwnd), "Host");
  ProcessMessages();
  ResetTerminated();
  PostMessageA(hwnd, WM_APP + 1, 0, 0);
  PostMessageA(hwnd, WM_APP + 1, 0, 0);
  host.Form->PostQuit();
  PostMessageA(hwnd, WM_APP + 1, 0, 0);
  EXPECT_FALSE(Terminated());
  ProcessMessages();
  EXPECT_EQ(hook.Seen, 3);
  EXPECT_TRUE(Terminated());
  host.Form->OnMessageHook = THookHandler();
  ResetTerminated();
}

TEST(LayerLoop, MainWindowHandleFollowsTheApplicationWindow) {
  EXPECT_EQ(MainWindowHandle(), 0u);
  {
    THostForm host;
    EXPECT_EQ(MainWindowHandle(), reinterpret_cast<uintptr_t>(host.Form->GetHandle()));
  }
  EXPECT_EQ(MainWindowHandle(), 0u);
}

// ------------------------------------------------------------- navigation
class LayerNavigation : public ::testing::Test {
protected:
  void PressTab(bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    ProcessMessages();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  std::unique_ptr<TOMButton> MakeButton(TWindowObject* parent, int32_t left, int32_t order) {
    auto b = std::make_unique<TOMButton>(parent);
    b->Left = left;
    b->Top = 10;
    b->Width = 60;
    b->TabOrder = order;
    b->Font = MakeFontRec("Arial", 8, 0, 0, 1);
    b->Init();
    return b;
  }
};

TEST_F(LayerNavigation, TabDoesNothingUntilEnabledThenWrapsInTabOrderSkippingUnfocusable) {
  THostForm host;
  auto first = MakeButton(host.Form, 10, 1);
  auto never = MakeButton(host.Form, 80, -1);
  auto second = MakeButton(host.Form, 150, 2);
  auto edit = std::make_unique<TOMEdit>(host.Form);
  edit->Left = 220;
  edit->Top = 10;
  edit->TabOrder = 3;
  edit->Init();
  ShowApplicationWindows(host.App);
  SetForegroundWindow(host.Form->GetHandle());
  SetFocus(first->Control->GetHandle());
  ProcessMessages();
  ASSERT_EQ(GetFocus(), first->Control->GetHandle());
  EXPECT_FALSE(StyleOf(never->Control->GetHandle()) & WS_TABSTOP);
  PressTab(false); // no navigation yet: the focus stays
  EXPECT_EQ(GetFocus(), first->Control->GetHandle());
  EnableKeyboardNavigation(edit->Control);

  const HWND forward[] = {second->Control->GetHandle(), edit->Control->GetHandle(), first->Control->GetHandle(),
                          second->Control->GetHandle()};
  for (HWND expected : forward) {
    PressTab(false);
    EXPECT_EQ(GetFocus(), expected);
  }
  PressTab(true); // back to the first
  EXPECT_EQ(GetFocus(), first->Control->GetHandle());
  PressTab(true); // wraps from the lowest to the highest
  EXPECT_EQ(GetFocus(), edit->Control->GetHandle());
}

} // namespace
