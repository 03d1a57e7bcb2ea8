// Stand-in for the product's program file: the installer only copies it, so
// it needs to be a real Windows program that shows where it was installed.
// Started, it reads the location record dir.ini beside itself and says which
// product folder it names and whether the Help and Info pages are there.
#include <windows.h>

#include <string>

namespace {

const char kCaption[] = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1";  // "Сорванта v2.1"

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

// "есть" / "нет"
const char* Presence(bool present) { return present ? "\xE5\xF1\xF2\xFC" : "\xED\xE5\xF2"; }

std::string Report() {
  const std::string ini = ProgramFolder() + "dir.ini";
  if (!FileExists(ini)) {
    // "Файл dir.ini не найден в папке программы:\r\n<folder>\r\nПереустановите программу."
    return "\xD4\xE0\xE9\xEB dir.ini \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED \xE2 \xEF\xE0\xEF\xEA\xE5 "
           "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB:\r\n" +
           ProgramFolder() +
           "\r\n\xCF\xE5\xF0\xE5\xF3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xE5 "
           "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3.";
  }
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, ini.c_str());
  std::string folder = dir;
  if (folder.empty()) {
    // "В файле dir.ini нет папки программы (раздел info, ключ dir)."
    return "\xC2 \xF4\xE0\xE9\xEB\xE5 dir.ini \xED\xE5\xF2 \xEF\xE0\xEF\xEA\xE8 "
           "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB (\xF0\xE0\xE7\xE4\xE5\xEB info, "
           "\xEA\xEB\xFE\xF7 dir).";
  }
  // The record is written with a trailing backslash; accept one without it too.
  const std::string base = folder.back() == '\\' ? folder : folder + "\\";
  // "Папка программы:\r\n<folder>\r\n\r\nСправка (Help): есть|нет\r\nСведения (Info): есть|нет"
  return "\xCF\xE0\xEF\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB:\r\n" + folder +
         "\r\n\r\n\xD1\xEF\xF0\xE0\xE2\xEA\xE0 (Help): " + Presence(FileExists(base + "Help\\ZelcapHelp.htm")) +
         "\r\n\xD1\xE2\xE5\xE4\xE5\xED\xE8\xFF (Info): " + Presence(FileExists(base + "Info\\ZelcapInfo.htm"));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, Report().c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}
