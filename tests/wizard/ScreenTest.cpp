// The pages at 144 DPI against pictures kept of them (other resolutions: elements_dpi*), and what a
// screen reader says of each.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "Wizard.h"

#include <oleacc.h> // after windows.h

using namespace driver;

namespace {

class Screen : public ::testing::Test {
protected:
  void SetUp() override {
    RemoveInstallation(ProgramFiles);
    // This program reads the screen before the resolution changes: first read at another one, Wine
    // later tells it of a screen of no size (a box would never fit it).
    ASSERT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    SetResolution(144);
  }
  void TearDown() override {
    SetResolution(96);
    RemoveInstallation(ProgramFiles);
  }
  // The resolution programs started from now on take.
  static void SetResolution(DWORD dpi) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                                             &dpi, sizeof dpi));
  }
};

// Spelled out: MinGW's import library resolves the name to a thunk, not to the identifier.
const IID AccessibleIid = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What a screen reader reads for a window: its name and its role.
std::pair<std::string, LONG> Accessible(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, AccessibleIid, reinterpret_cast<void**>(&object))))
    return {"(no object)", 0};
  VARIANT self{}, role{}; // self: CHILDID_SELF, 0
  self.vt = VT_I4;
  BSTR name = nullptr;
  const bool named = object->get_accName(self, &name) == S_OK && name;
  object->get_accRole(self, &role);
  object->Release();
  const std::string text = named ? files::Narrow(name) : "";
  SysFreeString(name);
  return {text, role.vt == VT_I4 ? role.lVal : 0};
}

// Every window a person reads or uses is named by what a sighted person reads as its label: a
// button, a text, a caption by its own words; the licence by the line above it, the folder field
// by its group's caption, the side picture by the words it shows. Only bare panels stay unnamed.
TEST_F(Screen, EveryPageAt144DpiLooksAsKeptAndAScreenReaderNamesEachControlAsAPersonReadsIt) {
  // Per page, the one window without words of its own that has a name: is it a field, its name, its role (0: the system's).
  const std::map<EPage, std::tuple<bool, std::string, LONG>> unlabelled = {
      {EPage::Welcome, {false, "Сорванта v2.1", ROLE_SYSTEM_GRAPHIC}},
      {EPage::Licence, {true, "  Можете нажать PageDown для перемещения по тексту:", 0}},
      {EPage::Folder, {true, "Директория размещения программы на вашем компьютере", 0}},
      {EPage::Finish, {false, "Готово v2.1", ROLE_SYSTEM_GRAPHIC}}};
  ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  TWizard w;
  ASSERT_TRUE(w.Start());
  for (const auto& [page, expected] : unlabelled) {
    SCOPED_TRACE(Name(page));
    ASSERT_TRUE(w.WaitPage(page, 60000));
    std::vector<RECT> masks; // C:'s free space differs between machines
    std::vector<std::tuple<bool, std::string, LONG>> named;
    for (HWND h : Children(w.Frame(), "")) {
      if (!IsWindowVisible(h)) continue;
      const auto [name, role] = Accessible(h);
      const bool field = lstrcmpiA(Class(h).c_str(), "Edit") == 0;
      const std::string text = field ? "" : Text(h); // a field's text is what it holds, not its name
      if (text.rfind(texts::FreePrefix, 0) == 0) masks.push_back(Rect(h));
      if (!text.empty()) {
        EXPECT_EQ(text, name) << Class(h);
      } else if (!name.empty()) {
        named.emplace_back(field, name, std::get<2>(expected) ? role : 0);
      } else {
        EXPECT_FALSE(field) << "a field without a name";
      }
    }
    EXPECT_EQ(std::vector{expected}, named);
    EXPECT_TRUE(LooksLike(std::string("dpi144-") + Name(page), w.Main, nullptr, masks));
    ASSERT_TRUE(w.Press(Forward(page)));
  }
  EXPECT_TRUE(w.Ends(0));
  CoUninitialize();
}

} // namespace
