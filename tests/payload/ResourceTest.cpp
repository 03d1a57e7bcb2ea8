// The payload as the installer's program sees it: every data item of the
// manifest is found in the appended archive by name in any letter case, with
// the payload file's exact bytes, and the whole payload checks out against its
// digests; bitmaps and icon load as resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Resources.h"

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

// The data resources of the manifest (type 100): name and payload file.
std::vector<std::pair<std::string, std::string>> DataItems() {
  std::vector<std::pair<std::string, std::string>> items;
  std::istringstream in(ReadFile(HostPath(OMBREL_PAYLOAD_MANIFEST)));
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line.substr(0, line.find('#')));
    std::string name, type, file, size, format, target;
    if (!(fields >> name >> type >> file >> size >> format >> target) || type != "100") continue;
    const bool built = file.compare(0, 6, "build:") == 0;
    items.push_back({name, HostPath(built ? std::string(OMBREL_PAYLOAD_BINARY_DIR) + "/" + file.substr(6)
                                          : std::string(OMBREL_PAYLOAD_SOURCE_DIR) + "/" + file)});
  }
  return items;
}

// "STR12" -> "Str12", the way the program asks for its texts.
std::string MixedCase(const std::string& name) {
  std::string mixed = name;
  for (size_t i = 1; i < mixed.size(); ++i) mixed[i] = static_cast<char>(std::tolower(mixed[i]));
  return mixed;
}

TEST(PayloadResources, EveryDataItemHoldsItsPayloadFileAndTheWholeChecksOut) {
  EXPECT_TRUE(PayloadIntact());
  const auto items = DataItems();
  for (const auto& item : items) {
    SCOPED_TRACE(item.first);
    std::unique_ptr<TByteStream> stream = LoadResourceStream(MixedCase(item.first));
    std::string bytes(size_t(stream->Size()), '\0');
    stream->Read(bytes.data(), stream->Size());
    std::string file = ReadFile(item.second);
    ASSERT_FALSE(file.empty()) << item.second;
    EXPECT_EQ(bytes.size(), file.size());
    EXPECT_TRUE(bytes == file);
  }
  EXPECT_EQ(items.size(), 37u + 4u);  // STR1..STR37, STREAM0..STREAM3
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

}  // namespace
