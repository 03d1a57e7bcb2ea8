// The payload as the installer's program sees it: every resource of the
// manifest is found by name in any letter case, under language 1049, with the
// payload file's exact bytes; bitmaps, icon and manifest load as such.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The build passes the Unix paths; Wine shows the root as drive Z:.
std::string HostPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

struct TItem {
  std::string Name, Type, File;
};

std::vector<TItem> ReadManifest() {
  std::vector<TItem> items;
  std::istringstream in(ReadFile(HostPath(OMBREL_PAYLOAD_MANIFEST)));
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    TItem item;
    std::string size, format, target;
    if (fields >> item.Name >> item.Type >> item.File >> size >> format >> target) items.push_back(item);
  }
  return items;
}

std::string PayloadFile(const TItem& item) {
  const std::string build = "build:";
  if (item.File.compare(0, build.size(), build) == 0)
    return HostPath(std::string(OMBREL_PAYLOAD_BINARY_DIR) + "/" + item.File.substr(build.size()));
  return HostPath(std::string(OMBREL_PAYLOAD_SOURCE_DIR) + "/" + item.File);
}

// "STR12" -> "Str12", the way the program asks for its texts.
std::string MixedCase(const std::string& name) {
  std::string mixed = name;
  for (size_t i = 1; i < mixed.size(); ++i) mixed[i] = static_cast<char>(std::tolower(mixed[i]));
  return mixed;
}

TEST(PayloadResources, EveryDataResourceHoldsItsPayloadFile) {
  std::vector<TItem> items = ReadManifest();
  int data = 0;
  for (const TItem& item : items) {
    if (item.Type != "100") continue;
    ++data;
    SCOPED_TRACE(item.Name);
    HRSRC res = FindResourceA(nullptr, MixedCase(item.Name).c_str(), MAKEINTRESOURCEA(100));
    ASSERT_NE(res, nullptr);
    EXPECT_NE(FindResourceExA(nullptr, MAKEINTRESOURCEA(100), item.Name.c_str(),
                              MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)),
              nullptr);
    HGLOBAL loaded = LoadResource(nullptr, res);
    ASSERT_NE(loaded, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    std::string resource(bytes, SizeofResource(nullptr, res));
    std::string file = ReadFile(PayloadFile(item));
    ASSERT_FALSE(file.empty()) << PayloadFile(item);
    EXPECT_EQ(resource.size(), file.size());
    EXPECT_TRUE(resource == file);
  }
  EXPECT_EQ(data, 37 + 4);  // STR1..STR37, STREAM0..STREAM3
}

TEST(PayloadResources, SidePicturesLoadAsBitmapsOfTheirSize) {
  for (const char* name : {"BITMAP0", "bitmap1"}) {
    SCOPED_TRACE(name);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 165);
    EXPECT_EQ(info.bmHeight, 310);
    DeleteObject(bitmap);
  }
}

TEST(PayloadResources, IconLoadsInEachSize) {
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "ICON0", IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, size);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(PayloadResources, ApplicationManifestAsksForCommonControls6) {
  HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(res, nullptr);
  std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, res))), SizeofResource(nullptr, res));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
}

}  // namespace
