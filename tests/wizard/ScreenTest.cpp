// The wizard on screens of higher resolution (the system's dots per inch set as a person sets
// the display's scale), and what a screen reader says of each page.
#include <gtest/gtest.h>

#include <map>

#include "Wizard.h"

#include <oleacc.h> // after windows.h

using namespace driver;

namespace {

// Sets the resolution that programs started from now on take; the fixture sets 96 back.
void SetResolution(DWORD dpi) {
  ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                                           &dpi, sizeof dpi));
}

class Screen : public ::testing::Test {
protected:
  void SetUp() override { RemoveInstallation(ProgramFiles); }
  void TearDown() override {
    SetResolution(96);
    RemoveInstallation(ProgramFiles);
  }
};

// A window of a page: its class, its text, and where it is in the form's client area.
struct TPlace {
  std::string Class, Text;
  RECT Rect;
};

// Every visible window of the shown page, in the order of the window tree; first the client area.
std::vector<TPlace> Places(const TWizard& w) {
  POINT origin{0, 0};
  ClientToScreen(w.Main, &origin);
  RECT client{};
  GetClientRect(w.Main, &client);
  std::vector<TPlace> places{{"client", "", client}};
  for (HWND h : Children(w.Frame(), "")) {
    if (!IsWindowVisible(h)) continue;
    RECT r = Rect(h);
    OffsetRect(&r, -origin.x, -origin.y);
    places.push_back({Class(h), Text(h), r});
  }
  return places;
}

// The pages of an installation at this resolution, each as laid out; at 144 DPI also against
// pictures kept of them.
std::map<EPage, std::vector<TPlace>> Pages(DWORD dpi) {
  SetResolution(dpi);
  std::map<EPage, std::vector<TPlace>> pages;
  TWizard w;
  if (!w.Start()) return ADD_FAILURE() << "no wizard at " << dpi << " DPI", pages;
  for (EPage page : {EPage::Welcome, EPage::Licence, EPage::Folder, EPage::Finish}) {
    if (!w.WaitPage(page, 60000)) return pages;
    pages[page] = Places(w);
    if (dpi == 144) {
      std::vector<RECT> masks; // C:'s free space differs between machines
      for (HWND label : Children(w.Frame(), "Static"))
        if (Text(label).rfind(texts::FreePrefix, 0) == 0) masks.push_back(Rect(label));
      EXPECT_TRUE(LooksLike(std::string("dpi144-") + Name(page), w.Main, nullptr, masks));
    }
    w.Press(Forward(page));
  }
  EXPECT_TRUE(w.Ends(0));
  RemoveInstallation(ProgramFiles);
  return pages;
}

// The form's client area and every window of every page: the layout of a 96-DPI screen scaled
// by DPI/96, to within the 2 pixels that rounding each edge on its own may take. A label sized
// to its text keeps its place; its size is its text's, which fonts of other heights do not
// scale exactly (that it still shows all of its text is the element tests' to see).
TEST_F(Screen, EveryPageIsTheLayoutOf96DpiScaled) {
  const std::map<EPage, std::vector<TPlace>> unit = Pages(96);
  ASSERT_EQ(4u, unit.size());
  const auto sizedToText = [](const std::string& text) {
    for (const char* start : {"  Можете нажать PageDown", "  Если принимаете", "Необходимо места", "Свободно: "})
      if (text.rfind(start, 0) == 0) return true;
    return false;
  };
  for (DWORD dpi : {120, 144, 192}) {
    const std::map<EPage, std::vector<TPlace>> scaled = Pages(dpi);
    ASSERT_EQ(4u, scaled.size()) << dpi;
    for (const auto& [page, places] : unit) {
      const std::vector<TPlace>& at = scaled.at(page);
      ASSERT_EQ(places.size(), at.size()) << dpi << " DPI, " << Name(page);
      for (size_t i = 0; i < places.size(); ++i) {
        const TPlace &a = places[i], &b = at[i];
        SCOPED_TRACE(std::to_string(dpi) + " DPI, " + Name(page) + ": " + a.Class + " \"" + a.Text + "\"");
        EXPECT_EQ(a.Class, b.Class);
        const bool free = a.Text.rfind(texts::FreePrefix, 0) == 0; // a number that may have changed
        EXPECT_EQ(free ? texts::FreePrefix : a.Text, free ? b.Text.substr(0, texts::FreePrefix.size()) : b.Text);
        const auto within = [&](LONG unitEdge, LONG edge) { return std::abs(MulDiv(unitEdge, int(dpi), 96) - edge) <= 2; };
        EXPECT_TRUE(within(a.Rect.left, b.Rect.left) && within(a.Rect.top, b.Rect.top)) << b.Rect.left << "," << b.Rect.top;
        if (!sizedToText(a.Text)) {
          EXPECT_TRUE(within(a.Rect.right, b.Rect.right) && within(a.Rect.bottom, b.Rect.bottom))
              << b.Rect.right << "," << b.Rect.bottom << " for " << a.Rect.right << "," << a.Rect.bottom;
        }
      }
    }
  }
}

// Spelled out: MinGW's import library resolves the name to a thunk, not to the identifier.
const IID AccessibleIid = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What a screen reader reads for a window: its name and its role.
std::pair<std::string, LONG> Accessible(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, AccessibleIid, reinterpret_cast<void**>(&object))))
    return {"(no object)", 0};
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  VARIANT role{};
  const bool named = object->get_accName(self, &name) == S_OK && name;
  object->get_accRole(self, &role);
  object->Release();
  std::string text = named ? files::Narrow(name) : "";
  if (name) SysFreeString(name);
  return {text, role.vt == VT_I4 ? role.lVal : 0};
}

// Every window a person reads or uses is named by what a sighted person reads as its label:
// a button, a text, a caption by its own words; the licence by the line above it, the folder
// field by its group's caption, the side picture by the words it shows. Only bare panels stay
// unnamed.
TEST_F(Screen, AScreenReaderNamesEveryControlAsAPersonReadsIt) {
  struct TUnlabelled {
    const char* Class;
    std::string Name;
    LONG Role; // 0: the system's own
  };
  const std::map<EPage, std::vector<TUnlabelled>> unlabelled = {
      {EPage::Welcome, {{"Static", "Сорванта v2.1", ROLE_SYSTEM_GRAPHIC}}},
      {EPage::Licence, {{"Edit", "  Можете нажать PageDown для перемещения по тексту:", 0}}},
      {EPage::Folder, {{"Edit", "Директория размещения программы на вашем компьютере", 0}}},
      {EPage::Finish, {{"Static", "Готово v2.1", ROLE_SYSTEM_GRAPHIC}}}};
  ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  TWizard w;
  ASSERT_TRUE(w.Start());
  for (const auto& [page, expected] : unlabelled) {
    SCOPED_TRACE(Name(page));
    ASSERT_TRUE(w.WaitPage(page, 60000));
    std::vector<TUnlabelled> named; // the windows without words of their own that have a name
    for (HWND h : Children(w.Frame(), "")) {
      if (!IsWindowVisible(h)) continue;
      const auto [name, role] = Accessible(h);
      const bool edit = lstrcmpiA(Class(h).c_str(), "Edit") == 0;
      const std::string text = edit ? "" : Text(h); // a field's text is what it holds, not its name
      if (!text.empty()) {
        EXPECT_EQ(text, name) << Class(h);
      } else if (!name.empty()) {
        named.push_back({edit ? "Edit" : "Static", name, role});
      } else {
        EXPECT_FALSE(edit) << "a field without a name";
      }
    }
    ASSERT_EQ(expected.size(), named.size());
    for (size_t i = 0; i < named.size(); ++i) {
      EXPECT_STREQ(expected[i].Class, named[i].Class);
      EXPECT_EQ(expected[i].Name, named[i].Name);
      if (expected[i].Role) {
        EXPECT_EQ(expected[i].Role, named[i].Role);
      }
    }
    w.Press(Forward(page));
  }
  EXPECT_TRUE(w.Ends(0));
  CoUninitialize();
}

} // namespace
