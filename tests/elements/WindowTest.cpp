// The window layer and the window elements through Win32.
#include <gtest/gtest.h>

#include <thread>

#include "Files.h"
#include "Host.h"
#include "Probe.h"
#include "omButton.h"
#include "omEdit.h"
#include "omImage.h"
#include "omJpeg.h"
#include "omLabel.h"
#include "omMainForm.h"
#include "omMemo.h"
#include "omMessage.h"
#include "omPanel.h"

using namespace host;

namespace {

TEST(Layer, ColoursAndFonts) {
  const std::pair<uint32_t, COLORREF> colours[] = {{0xFF00000F, GetSysColor(COLOR_BTNFACE)}, {0x8000000F, GetSysColor(COLOR_BTNFACE)},
                                                   {0xFF000005, GetSysColor(COLOR_WINDOW)}, {0x00123456, 0x00123456}};
  for (const auto& [colour, resolved] : colours) EXPECT_EQ(ResolveColor(int32_t(colour)), resolved) << std::hex << colour;
  TFontObject font;
  font.SetName(std::string(40, 'A') + "tail");
  const auto made = [&](UINT dpi) { LOGFONTA lf{}; GetObjectA(font.GetHandle(dpi), sizeof lf, &lf); return lf; };
  EXPECT_EQ(std::string(made(96).lfFaceName), std::string(31, 'A'));
  // The cell height for a screen's resolution, rounded as dialogs round, both ways.
  for (const auto& [dpi, height] : {std::pair{96u, -11L}, {120u, -14L}, {144u, -17L}, {192u, -22L}, {96u, -11L}})
    EXPECT_EQ(made(dpi).lfHeight, height) << dpi;
  // Style bits: 1 bold (the weight, else 0), 2 italic, 4 underline, 8 strike-out.
  for (const std::vector<LONG>& row : {std::vector<LONG>{15, FW_BOLD, 1, 1, 1}, {0, 0, 0, 0, 0}, {2, 0, 1, 0, 0},
                                       {4, 0, 0, 1, 0}, {8, 0, 0, 0, 1}, {1, FW_BOLD, 0, 0, 0}}) {
    font.SetStyle(uint8_t(row[0]));
    const LOGFONTA lf = made(96);
    EXPECT_EQ(std::vector<LONG>({row[0], lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut}), row);
  }
}

// Docked left, top, right, bottom: each takes its width or height from what the ones before left.
TEST(Layer, DockedChildrenShareTheClientAreaInTheirOrder) {
  THostForm host(300, 200);
  RECT client;
  GetClientRect(host.Form->GetHandle(), &client);
  const auto s = [&](int32_t units) { return host.Form->Scale(units); };
  const LONG w = client.right, h = client.bottom;
  const std::pair<int32_t, RECT> docked[] = { // the width or height, where it goes
      {40, {0, 0, s(40), h}}, {30, {s(40), 0, w, s(30)}}, {50, {w - s(50), s(30), w, h}}, {20, {s(40), h - s(20), w - s(50), h}}};
  std::vector<TWindowObject*> children;
  for (const auto& [size, place] : docked) {
    children.push_back(CreatePanel(host.Form, TPanelData()));
    children.back()->SetSize(size, size);
    children.back()->SetAlign(uint8_t(children.size()));
  }
  host.Application.ProcessMessages();
  for (size_t i = 0; i < children.size(); ++i) {
    RECT r = driver::Rect(children[i]->GetHandle());
    MapWindowPoints(HWND_DESKTOP, host.Form->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    const RECT& x = docked[i].second;
    for (const auto& [got, at] : {std::pair{r.left, x.left}, {r.top, x.top}, {r.right, x.right}, {r.bottom, x.bottom}})
      EXPECT_NEAR(got, at, 1) << "align " << i + 1;
  }
}

// The loop makes the windows a person sees before it waits: a hidden panel's windows come in its
// first idle moments, one at a time, and one shown before then is made at once, shown.
TEST(Layer, HiddenWindowsAreMadeWhileTheLoopWaitsOrAtOnceWhenShown) {
  TApplication application;
  TWindowObject* form = CreateForm(application.CreateApplicationWindow(), "Host");
  TWindowObject* const shown = CreatePanel(form, TPanelData());
  TWindowObject* const hidden[] = {CreatePanel(form, TPanelData()), CreatePanel(form, TPanelData())};
  for (TWindowObject* panel : hidden) {
    panel->SetVisible(false);
    CreatePanel(panel, TPanelData());
  }
  application.ShowWindows();
  const auto made = [](TWindowObject* panel) { return panel->PeekHandle() && panel->Children()[0]->PeekHandle(); };
  EXPECT_TRUE(shown->PeekHandle() && !hidden[0]->PeekHandle() && !hidden[1]->PeekHandle());
  hidden[1]->SetVisible(true);
  EXPECT_TRUE(made(hidden[1]) && IsWindowVisible(hidden[1]->PeekHandle()));
  EXPECT_TRUE(application.CreateHiddenWindows() && made(hidden[0]) && !IsWindowVisible(hidden[0]->PeekHandle()));
  EXPECT_FALSE(application.CreateHiddenWindows());
  FreeWindowObject(application.Window());
}

// The hook sees the form's messages first; a quit lets the messages queued around it run; boxes are owned by the form.
TEST(Layer, HookSeesMessagesFirstAndQuitLetsQueuedOnesRun) {
  EXPECT_EQ(MainWindowHandle(), 0u);
  THostForm host;
  HWND hwnd = host.Form->GetHandle();
  EXPECT_EQ(MainWindowHandle(), uintptr_t(hwnd));
  struct THook {
    int Seen = 0;
    bool Hook(TWindowObject*, TMessage& m) {
      Seen += m.Msg == WM_APP + 1;
      m.Result = TRUE;
      return m.Msg == WM_SETTEXT;
    }
  } hook;
  host.Form->OnMessageHook = MakeHandler<&THook::Hook>(&hook);
  SetWindowTextA(hwnd, "changed");
  EXPECT_EQ(Text(hwnd), "Host");
  for (bool quit : {false, false, true, false}) quit ? host.Form->PostQuit() : void(PostMessageA(hwnd, WM_APP + 1, 0, 0));
  EXPECT_FALSE(host.Application.Terminated());
  host.Application.ProcessMessages();
  EXPECT_TRUE(hook.Seen == 3 && host.Application.Terminated());
  host.Form->OnMessageHook = THookHandler();
}

// Refuses every application window the thread asks for, and only those.
LRESULT CALLBACK RefuseApplicationWindows(int code, WPARAM wParam, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
  if (code == HCBT_CREATEWND && !IS_INTRESOURCE(create->lpcs->lpszClass) && lstrcmpW(create->lpcs->lpszClass, L"App") == 0)
    return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window the system refuses ends the program on the terms its application was given: their box
// with their caption and text, the error code and the system's words after it, then their exit code.
TEST(Layer, AWindowTheSystemRefusesEndsTheProgramOnTheApplicationsTerms) {
  const auto refused = [] {
    SetWindowsHookExW(WH_CBT, &RefuseApplicationWindows, nullptr, GetCurrentThreadId());
    // The box read and answered from beside it, as a person would; without one the program ends otherwise.
    std::thread([] {
      HWND box = nullptr; // the one box of this process, whatever its caption
      if (!driver::WaitUntil([&] { return (box = FindWindowW(L"#32770", nullptr)) && IsWindowVisible(box); }))
        ExitProcess(99);
      std::fprintf(stderr, "box: %s: %s\n", Text(box).c_str(), driver::BoxText(box).c_str());
      std::fflush(stderr);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }).detach();
    TApplication app({{}, "Layer failure", "No window, error ", 7, {}});
    app.CreateApplicationWindow()->GetHandle();
  };
  EXPECT_EXIT(refused(), ::testing::ExitedWithCode(7), "box: Layer failure: No window, error \\d+, ");
}

class Controls : public ::testing::Test {
protected:
  TLiveDispatch Live;
  THostForm Host;
};

TEST_F(Controls, FramesFollowCtl3DAndBorderStyle) {
  TOMEdit plain(Host.Form), sunken(Host.Form);
  TOMLabel label(Host.Form);
  TOMPanel bordered(Host.Form), dialog(Host.Form);
  sunken.Ctl3D = label.Ctl3D = 0;
  bordered.BorderStyle = 1;
  dialog.BorderStyle = 2;
  const struct { TOMWin* Element; DWORD Style, NoStyle, ExStyle, NoExStyle; } rows[] = {
      {&plain, 0, 0, 0, WS_EX_CLIENTEDGE}, {&sunken, 0, WS_BORDER, WS_EX_CLIENTEDGE, 0}, {&label, 0, 0, WS_EX_CLIENTEDGE, 0},
      {&bordered, WS_BORDER, 0, WS_EX_CLIENTEDGE, 0}, {&dialog, 0, WS_BORDER, WS_EX_DLGMODALFRAME, 0}};
  for (const auto& row : rows) {
    row.Element->Init();
    HWND hwnd = row.Element->Control->GetHandle();
    EXPECT_EQ(Style(hwnd) & (row.Style | row.NoStyle), row.Style) << &row - rows;
    EXPECT_EQ(ExStyle(hwnd) & (row.ExStyle | row.NoExStyle), row.ExStyle) << &row - rows;
  }
}

// ReadOnly 0 is the read-only one; ScrollBars bit 0 horizontal, bit 1 vertical.
TEST_F(Controls, MemoStylesAndListOperations) {
  const struct { uint8_t ReadOnly, ScrollBars; DWORD Styles; } rows[] = {
      {0, 2, ES_READONLY | WS_VSCROLL}, {1, 0, 0}, {1, 1, WS_HSCROLL | ES_AUTOHSCROLL}, {1, 3, WS_HSCROLL | ES_AUTOHSCROLL | WS_VSCROLL}};
  for (const auto& row : rows) {
    TOMMemo memo(Host.Form);
    memo.ReadOnly = row.ReadOnly;
    memo.ScrollBars = row.ScrollBars;
    memo.Text = "kept";
    memo.Init();
    HWND hwnd = memo.Control->GetHandle();
    SendMessageA(hwnd, WM_CHAR, 'x', 0);
    EXPECT_EQ(Style(hwnd) & (ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_MULTILINE), row.Styles | ES_MULTILINE);
    EXPECT_EQ(Text(hwnd), row.ReadOnly ? "xkept" : "kept");
  }
  TOMMemo memo(Host.Form);
  TProbe changes;
  memo.Init();
  memo.outChange = changes.In();
  std::string text, again;
  for (const char* line : {"one", "two"}) memo.AddLine(line);
  memo.GetText(text);
  EXPECT_EQ(text + "|" + changes.Got.back().StrValue, "one\r\ntwo\r\n|one\r\ntwo\r\n");
  memo.SetText("a\r\nb\nc\rd");
  memo.GetText(again);
  EXPECT_EQ(again, "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"a", "b", "c", "d"}));
  memo.Clear();
  EXPECT_TRUE(changes.Got.back().Kind == dkNull && memo.Control->GetText().empty());
  EXPECT_EQ(SplitLines("x\r\n\r\ny\r\n"), (std::vector<std::string>{"x", "", "y"}));
}

TEST_F(Controls, LabelHoverChangesColourAndUnderlineOnlyWhileTheMouseIsOver) {
  TOMLabel label(Host.Form);
  label.Font = MakeFontRec("Arial", 8, 0, 0x123456, 1);
  label.HoverColor = 0x0000FF;
  label.HoverUnderline = true;
  label.Init();
  HWND hwnd = label.Control->GetHandle();
  for (int round = 0; round < 2; ++round) {
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(std::make_pair(int(FontOf(hwnd).lfUnderline), label.Control->Font().GetColor()), std::make_pair(1, 0x0000FF));
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(std::make_pair(int(FontOf(hwnd).lfUnderline), label.Control->Font().GetColor()), std::make_pair(0, 0x123456));
  }
}

// Enter fires outEnter with the text and clears the field without a change report.
TEST_F(Controls, EditEnterAndKeys) {
  TOMEdit edit(Host.Form);
  edit.Text = "typed";
  edit.Init();
  TProbe changes, enters, keys;
  edit.outChange = changes.In();
  edit.outEnter = enters.In();
  edit.outKeyDown = keys.In();
  for (WPARAM key : {WPARAM(VK_RETURN), WPARAM('A')}) PostMessageA(edit.Control->GetHandle(), WM_KEYDOWN, key, 0);
  Host.Application.ProcessMessages();
  EXPECT_EQ(enters.Seen() + " " + keys.Seen(), "'typed' 65"); // 'A'
  EXPECT_EQ(changes.Got.size(), 1u) << "only the typed A";
}

// Each click sends a copy of Data as it stands: a receiver changes only its own.
TEST_F(Controls, ButtonSendsACopyOfItsData) {
  TOMButton next(Host.Form), cancel(Host.Form);
  TProbe clicks;
  next.Data = IntegerData(5);
  for (TOMButton* button : {&next, &cancel}) {
    button->Init();
    button->outClick = clicks.In(button == &cancel);
  }
  next.Data.IntValue = 0;
  clicks.Action = [](TData& value) { value.IntValue = 9; };
  for (TOMButton* button : {&next, &next, &cancel}) SendMessageA(button->Control->GetHandle(), BM_CLICK, 0, 0);
  ASSERT_EQ(clicks.Got.size(), 3u);
  EXPECT_EQ(std::vector<int>({clicks.Got[1].Kind, clicks.Got[1].IntValue, clicks.Got[2].Kind, clicks.Index[2]}),
            std::vector<int>({1, 0, 0, 1}));
}

// Calls inClose inside the handling of a message and tells whether the form stayed up through it.
struct TAfterClose {
  TApplication& App;
  TOMMainForm* Form;
  bool Ran = false;
  bool Hook(TWindowObject*, TMessage& m) {
    if (m.Msg != WM_APP + 7) return false;
    const auto shown = [this] { return Form->Control && IsWindowVisible(Form->Control->PeekHandle()); };
    const bool up = shown() && !App.Terminated();
    Send<&TOMMainForm::inClose>(*Form, TData());
    return Ran = up && shown();
  }
};

// inClose ends the loop only after the message it was called in; an accepted close fires outClose,
// ends the loop and mutes the dispatcher.
TEST(MainForm, ABlockedCloseIsRefusedAnAcceptedOneEndsTheLoop) {
  for (bool blocked : {true, false}) {
    SCOPED_TRACE(blocked ? "blocked" : "accepted");
    StopDispatch(); // muted until Start, as in the program
    TProbe closed, block(IntegerData(1));
    TApplication app;
    auto form = std::make_unique<TOMMainForm>();
    form->SetCaption("Setup");
    form->outClose = closed.In();
    if (blocked) form->getBlockClose = block.Var();
    form->Init();
    form->Start();
    TAfterClose after{app, form.get()};
    TWindowObject* helper = CreateLabel(form->Control, "");
    helper->OnMessageHook = MakeHandler<&TAfterClose::Hook>(&after);
    const HWND hwnd = form->Control->GetHandle();
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (blocked) PostMessageA(helper->GetHandle(), WM_APP + 7, 0, 0);
    app.RunMessageLoop();
    EXPECT_EQ(after.Ran, blocked) << "the close was refused and the form stayed through inClose";
    EXPECT_EQ(std::make_pair(closed.Got.size(), DispatchIsLive()), std::make_pair(size_t(!blocked), blocked));
    EXPECT_FALSE(form->Control || IsWindow(hwnd) || app.Window() || MainWindowHandle());
    form.reset();
  }
  StopDispatch();
}

// Each kind's buttons and icon (the system's shared one) read off the box; the answer of the last
// button comes out of outResult. A kind past the list is OK alone.
TEST(Message, TheBoxShowsTheButtonsAndTheIconItsKindsName) {
  TLiveDispatch live;
  const int order[] = {IDOK, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE, IDCANCEL};
  const struct { uint8_t Kind; std::vector<int> Buttons; LPCSTR Icon; } rows[] = {
      {0, {IDOK}, nullptr}, {1, {IDOK, IDCANCEL}, IDI_HAND}, {2, {IDYES, IDNO}, IDI_QUESTION},
      {3, {IDYES, IDNO, IDCANCEL}, IDI_EXCLAMATION}, {4, {IDRETRY, IDCANCEL}, IDI_ASTERISK},
      {5, {IDABORT, IDRETRY, IDIGNORE}, IDI_EXCLAMATION}, {9, {IDOK}, nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(int(row.Kind));
    TOMMessage message;
    message.Caption = "Kinds";
    message.Text = "?";
    message.Buttons = message.IconKind = row.Kind;
    TProbe answer;
    message.outResult = answer.In();
    std::vector<int> buttons;
    HICON icon = nullptr;
    std::thread reader([&] {
      HWND box = nullptr;
      // Shown only once the box has set up its buttons.
      if (!driver::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Kinds")) && IsWindowVisible(box); })) return;
      for (int id : order)
        if (IsWindowVisible(GetDlgItem(box, id))) buttons.push_back(id);
      for (HWND child : driver::Children(box, "Static"))
        if ((Style(child) & SS_TYPEMASK) == SS_ICON) icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      PostMessageW(box, WM_COMMAND, buttons.empty() ? IDOK : buttons.back(), 0);
    });
    Send<&TOMMessage::inMessage>(message, TData());
    reader.join();
    EXPECT_EQ(row.Buttons, buttons);
    EXPECT_EQ(row.Icon ? LoadIconA(nullptr, row.Icon) : nullptr, icon);
    EXPECT_EQ(answer.Seen(), std::to_string(row.Buttons.back()));
  }
}

TEST(ProportionalFit, CentresThePictureBetweenTwoBands) {
  // Picture and box sizes; the target, then the two bands where given.
  const struct { int32_t PictureW, PictureH, BoxW, BoxH; std::vector<LONG> Rects; } rows[] = {
      {165, 310, 175, 285, {11, 0, 164, 285, 0, 0, 11, 285, 164, 0, 175, 285}}, // 151.7 -> 152, offset 11
      {300, 100, 175, 285, {0, 113, 175, 172, 0, 0, 175, 113, 0, 172, 175, 285}}, // landscape
      {50, 50, 100, 60, {20, 0, 80, 60}}, {4, 2, 5, 20, {0, 9, 5, 11}},            // a square is portrait; 2.5 rounds to 2 (even)
      {10, 6, 11, 20, {0, 6, 11, 14}}, {10, 4, 5, 1, {0, 0, 5, 1}}};               // 6.6 rounds to 7; the offset truncates to 0
  for (const auto& r : rows) {
    const TFitResult fit = ProportionalFit(r.PictureW, r.PictureH, r.BoxW, r.BoxH, RECT{0, 0, r.BoxW, r.BoxH});
    std::vector<LONG> got;
    for (const RECT& rect : {fit.Target, fit.Band1, fit.Band2}) got.insert(got.end(), {rect.left, rect.top, rect.right, rect.bottom});
    got.resize(r.Rects.size());
    EXPECT_EQ(got, r.Rects) << r.PictureW << "x" << r.PictureH << " in " << r.BoxW << "x" << r.BoxH;
  }
}

// Without KeepSize a picture gives the element its size; a missing one leaves the background; a canvas follows resizes.
TEST(ImageElement, SizeFollowsThePictureOrTheCanvasTheElement) {
  THostForm host;
  TOMImage sized(host.Form), empty(host.Form), canvas(host.Form);
  sized.SetPicture(CreateBitmap(30, 20, 1, 32, nullptr));
  EXPECT_EQ(std::make_pair(sized.Width, sized.Height), std::make_pair(30, 20));
  empty.Left = 200;
  empty.Width = empty.Height = 40;
  empty.Color = 0x00FF00;
  empty.KeepSize = 1;
  empty.SetPicture(nullptr);
  empty.Init();
  EXPECT_TRUE(empty.Picture->Empty());
  HWND hwnd = empty.Control->GetHandle(); // made before the painting
  RedrawWindow(host.Form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  host.Application.ProcessMessages();
  const HDC dc = GetDC(hwnd); // as the screen shows it
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 255, 0));
  ReleaseDC(hwnd, dc);
  canvas.Width = 80;
  canvas.Height = 40;
  canvas.ResizeCanvas = 1;
  canvas.Init();
  for (int32_t width : {80, 90, 100}) { // at Init, then set, then through the native window's size message
    if (width > 80) canvas.Control->SetSize(width, width / 2);
    EXPECT_EQ(std::make_pair(canvas.Picture->Width(), canvas.Picture->Height()), std::make_pair(width, width / 2));
    canvas.Control->GetHandle();
  }
}

std::unique_ptr<TByteStream> StreamOf(const std::string& bytes, int64_t position = 0) {
  auto stream = CreateMemoryStream();
  stream->Write(bytes.data(), int64_t(bytes.size()));
  stream->SetPosition(position);
  return stream;
}

// From the stream's position: the header's facts, the size at a scale; damaged data leaves it empty.
TEST(Jpeg, HeaderFactsAndDamagedData) {
  const struct { const char* File; int32_t Width, Height; bool Gray; uint8_t Progressive; } rows[] = {
      {"sample.jpg", 48, 32, false, 0}, {"progressive-gray.jpg", 24, 40, true, 1}};
  for (const auto& row : rows) {
    const std::string bytes = files::Read(std::string(ELEMENTS_DATA "/") + row.File);
    auto stream = StreamOf("junk" + bytes, 4);
    TJpegPicture picture;
    int changes = 0;
    picture.OnChange = [&](TJpegPicture&) { ++changes; };
    picture.LoadFromStream(*stream, stream->Size() - stream->Position());
    EXPECT_EQ(std::vector<int>({changes, picture.Width(), picture.Height(), picture.Grayscale(), picture.ProgressiveEncoding}),
              std::vector<int>({1, row.Width, row.Height, row.Gray, row.Progressive})) << row.File;
    ASSERT_TRUE(picture.Data());
    EXPECT_EQ(picture.Data()->Size(), int64_t(bytes.size()));
    picture.Settings.Scale = 1;
    EXPECT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(row.Width / 2, row.Height / 2));
  }
  const std::string sample = files::Read(ELEMENTS_DATA "/sample.jpg");
  std::string zeroHeight = sample, badMarker = sample;
  const size_t frame = zeroHeight.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  zeroHeight[frame + 5] = zeroHeight[frame + 6] = 0;
  badMarker[1] = '\xD9'; // no start of image
  for (const std::string& bytes : {std::string("not a picture"), sample.substr(0, 20), zeroHeight, badMarker,
                                   std::string("\xFF\xD8\xFF\xC0\x00\x02", 6) + std::string(64, '\xFF'),
                                   std::string("\xFF\xD8", 2) + std::string(300, '\0'), std::string()}) {
    TJpegPicture picture;
    picture.LoadFromStream(*StreamOf(sample), int64_t(sample.size()));
    picture.LoadFromStream(*StreamOf(bytes), int64_t(bytes.size()));
    EXPECT_TRUE(picture.Empty() && picture.Data() == nullptr) << bytes.size();
  }
}

// Only a picture given a bitmap encodes: a complete file of the bitmap's size.
TEST(Jpeg, EncodesAnAssignedBitmap) {
  TJpegPicture picture, again;
  picture.AssignBitmap(std::make_unique<TJpegBitmap>(TJpegBitmap{16, 8, 48, std::vector<uint8_t>(48 * 8, 0xFF)}));
  const std::string file = files::FreshFolder("jpeg-encode") + "enc.jpg";
  ASSERT_TRUE(picture.SaveToFile(file));
  const std::string bytes = files::Read(file);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2) + bytes.substr(bytes.size() - 2), "\xFF\xD8\xFF\xD9");
  again.LoadFromStream(*StreamOf(bytes), int64_t(bytes.size()));
  EXPECT_EQ(std::make_pair(again.Width(), again.Height()), std::make_pair(16, 8));
}

} // namespace
