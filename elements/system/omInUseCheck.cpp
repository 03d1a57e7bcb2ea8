#include "omInUseCheck.h"

#include <windows.h>
#include <restartmanager.h>

#include "InstallLog.h"
#include "Paths.h"
#include "omInstallReport.h"

namespace {

const char* const HeldHead = "Файлы программы заняты другими программами:\r\n";
const char* const HeldTail = "\r\n\r\nЗакройте эти программы и повторите попытку, или отмените, чтобы вернуться к выбору папки.";
const char* const HeldText = "Занят другой программой";

// The Restart Manager's calls, looked up at run time from the system folder:
// a system without it names no program.
struct TRestartManager {
  using TStart = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
  using TRegister = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
  using TList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
  using TEnd = DWORD(WINAPI*)(DWORD);
  HMODULE Library = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  TStart Start = reinterpret_cast<TStart>(Find("RmStartSession"));
  TRegister Register = reinterpret_cast<TRegister>(Find("RmRegisterResources"));
  TList List = reinterpret_cast<TList>(Find("RmGetList"));
  TEnd End = reinterpret_cast<TEnd>(Find("RmEndSession"));
  ~TRestartManager() {
    if (Library) FreeLibrary(Library);
  }
  void (*Find(const char* name) const)() {
    return Library ? reinterpret_cast<void (*)()>(GetProcAddress(Library, name)) : nullptr;
  }
};

} // namespace

std::vector<std::string> ProgramsHolding(const std::string& path) {
  std::vector<std::string> names;
  const TRestartManager manager;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (!manager.Start || !manager.Register || !manager.List || !manager.End || manager.Start(&session, 0, key) != 0)
    return names;
  const TWideText wide = WideOf(path);
  LPCWSTR files[] = {wide.data()};
  RM_PROCESS_INFO found[16];
  UINT needed = 0, count = 16;
  DWORD reasons = 0;
  if (manager.Register(session, 1, files, 0, nullptr, 0, nullptr) == 0 &&
      manager.List(session, &needed, &count, found, &reasons) == 0)
    for (UINT i = 0; i < count && i < 16; ++i) names.push_back(WideToText(found[i].strAppName));
  manager.End(session);
  return names;
}

void TOMInUseCheck::inCheck(TData& value, uint16_t) {
  const TData event = value; // the folder may be read from the event itself
  std::string folder = ReadPointString(value, getFolder, std::string());
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const auto held = [&] {
    std::vector<std::string> paths;
    for (const std::string& file : Files)
      if (HeldByAnother(folder + file)) paths.push_back(DisplayPath(folder + file));
    return paths;
  };
  std::vector<std::string> paths = held();
  // A program that is closing lets go within moments.
  for (int32_t waited = 0; !paths.empty() && waited < Patience; ++waited) {
    Sleep(1000);
    paths = held();
  }
  FHeld = !paths.empty();
  if (!FHeld) {
    ForwardValue(value, outFree, event);
    return;
  }
  std::string text = HeldHead;
  for (size_t i = 0; i < paths.size(); ++i) {
    std::string programs;
    for (const std::string& name : ProgramsHolding(paths[i])) programs += (programs.empty() ? "" : ", ") + name;
    if (Patience > 0) InstallLog().Add(paths[i], ERROR_SHARING_VIOLATION, HeldText + (programs.empty() ? "" : ": " + programs));
    if (i < ReportedEntries) text += "\r\n" + paths[i] + (programs.empty() ? "" : "\r\n   " + programs);
  }
  if (paths.size() > ReportedEntries) text += "\r\n... и ещё " + std::to_string(paths.size() - ReportedEntries) + ".";
  FireString(outHeld, text + HeldTail);
}
