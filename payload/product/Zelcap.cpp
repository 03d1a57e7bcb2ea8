// Stand-in for the product's program file: the installer only copies it, so
// it needs to be a real Windows program that shows where it was installed.
// Started, it reads the location record dir.ini beside itself and says which
// product folder it names and whether the Help and Info pages are there.
#include <windows.h>

#include <string>

namespace {

const char kCaption[] = "Сорванта v2.1";

// The folder of this program file, ending with a backslash.
std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  std::string::size_type cut = folder.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

bool FileExists(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

const char* Presence(bool present) { return present ? "есть" : "нет"; }

std::string Report() {
  const std::string ini = ProgramFolder() + "dir.ini";
  if (!FileExists(ini)) {
    return "Файл dir.ini не найден в папке программы:\r\n" + ProgramFolder() + "\r\nПереустановите программу.";
  }
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, ini.c_str());
  std::string folder = dir;
  if (folder.empty()) {
    return "В файле dir.ini нет папки программы (раздел info, ключ dir).";
  }
  // The record is written with a trailing backslash; accept one without it too.
  const std::string base = folder.back() == '\\' ? folder : folder + "\\";
  return "Папка программы:\r\n" + folder +
         "\r\n\r\nСправка (Help): " + Presence(FileExists(base + "Help\\ZelcapHelp.htm")) +
         "\r\nСведения (Info): " + Presence(FileExists(base + "Info\\ZelcapInfo.htm"));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, Report().c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}
