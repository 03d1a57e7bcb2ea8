#include "Files.h"

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace files {

static std::wstring ToWide(UINT codePage, const std::string& bytes) {
  std::wstring out(bytes.size(), L'\0');
  out.resize(size_t(MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), out.data(), int(out.size()))));
  return out;
}

static std::string FromWide(UINT codePage, const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(size_t(WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), out.data(), int(out.size()),
                                        nullptr, nullptr)));
  return out;
}

std::wstring Wide(const std::string& text) { return ToWide(CP_UTF8, text); }
std::string Narrow(const std::wstring& text) { return FromWide(CP_UTF8, text); }
std::string From1251(const std::string& bytes) { return Narrow(ToWide(1251, bytes)); }
std::string Shown1251(const std::string& text) { return Narrow(ToWide(CP_ACP, FromWide(1251, Wide(text)))); }

std::string DosPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

std::string UnixPath(const std::string& path) {
  using TUnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<TUnixName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(Wide(path).c_str()) : nullptr;
  const std::string result = name ? name : "";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return result;
}

std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }

std::string Read(const std::string& path) {
  std::ifstream in(Wide(DosPath(path)).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Write(const std::string& path, const std::string& bytes) {
  return bool(std::ofstream(Wide(DosPath(path)).c_str(), std::ios::binary | std::ios::trunc) << bytes << std::flush);
}

static DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(DosPath(path)).c_str()); }
// INVALID_FILE_ATTRIBUTES has every bit set, the folder's too.
bool IsFile(const std::string& path) { return (Attributes(path) & FILE_ATTRIBUTE_DIRECTORY) == 0; }
bool IsFolder(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES && !IsFile(path); }

THeld Hold(const std::string& path, bool make) {
  HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(Wide(DosPath(path)).c_str(), GENERIC_READ, 0, nullptr,
                                           make ? OPEN_ALWAYS : OPEN_EXISTING, 0, nullptr);
  return THeld(file == INVALID_HANDLE_VALUE ? nullptr : file, &CloseHandle);
}

TTree Tree(const std::string& folder) {
  TTree tree;
  WIN32_FIND_DATAW found{};
  const HANDLE find = FindFirstFileW(Wide(DosPath(folder) + "\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
    const std::string name = Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      tree[name] = {(uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                    (uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime};
      continue;
    }
    tree[name + "\\"] = {0, 0};
    for (const auto& [path, state] : Tree(folder + "\\" + name)) tree[name + "\\" + path] = state;
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  return tree;
}

bool RemoveTree(const std::string& folder) {
  // Backwards through the sorted paths: whatever is inside a folder comes before it.
  const TTree tree = Tree(folder);
  for (auto entry = tree.rbegin(); entry != tree.rend(); ++entry) {
    const std::wstring path = Wide(DosPath(folder) + "\\" + entry->first);
    entry->first.back() == '\\' ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
  }
  RemoveDirectoryW(Wide(DosPath(folder)).c_str());
  return Attributes(folder) == INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  return std::string(temp, GetTempPathA(MAX_PATH, temp));
}

std::string FreshFolder(const std::string& name) {
  const std::string folder = TempFolder() + "ombrel-" + name;
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

std::vector<std::string> Changes(const TTree& before, const TTree& after) {
  std::vector<std::string> changed;
  for (const auto& [path, state] : after)
    if (const auto old = before.find(path); old == before.end() || old->second != state) changed.push_back(path);
  return changed;
}

std::vector<TPayloadItem> InstalledItems() {
  std::vector<TPayloadItem> items;
  std::istringstream manifest(Read(OMBREL_MANIFEST));
  for (std::string line; std::getline(manifest, line);) {
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (!line.empty() && line[0] != '#' && fields >> name >> type >> file >> size >> format >> target && target != "-")
      items.push_back({name, format, target, file});
  }
  return items;
}

std::string InstalledBytes(const TPayloadItem& item) {
  // Built items come from this build, or from the one OMBREL_PAYLOAD_BUILT names (the release build).
  const std::string built = Env("OMBREL_PAYLOAD_BUILT").empty() ? OMBREL_PAYLOAD_BINARY_DIR : Env("OMBREL_PAYLOAD_BUILT");
  const std::string bytes = Read(item.File.compare(0, 6, "build:") == 0 ? built + "/" + item.File.substr(6)
                                                                         : OMBREL_PAYLOAD_SOURCE_DIR "/" + item.File);
  return item.Format == "text" ? bytes.substr(0, bytes.find('\0')) + "\r\n" : bytes;
}

TRegistryText::TRegistryText(HKEY root, std::wstring key, std::wstring name, const std::string& text)
    : Root(root), Key(std::move(key)), Name(std::move(name)) {
  wchar_t old[MAX_PATH] = {};
  DWORD size = sizeof old;
  if (RegGetValueW(Root, Key.c_str(), Name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &Type, old,
                   &size) != ERROR_SUCCESS)
    Type = REG_NONE;
  Old = old;
  const std::wstring value = Wide(text);
  RegSetKeyValueW(Root, Key.c_str(), Name.c_str(), REG_SZ, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
}

TRegistryText::~TRegistryText() {
  if (Type == REG_NONE) RegDeleteKeyValueW(Root, Key.c_str(), Name.c_str());
  else RegSetKeyValueW(Root, Key.c_str(), Name.c_str(), Type, Old.c_str(), DWORD((Old.size() + 1) * sizeof(wchar_t)));
}

TLink ReadLink(const std::string& file) {
  TLink facts;
  const HRESULT initialised = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) {
    if (SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&persist)))) {
      facts.Loaded = SUCCEEDED(persist->Load(Wide(file).c_str(), STGM_READ));
      persist->Release();
    }
    wchar_t text[4][MAX_PATH] = {}; // one each: a call that fails leaves no other's text
    link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(text[1], MAX_PATH);
    link->GetDescription(text[2], MAX_PATH);
    link->GetArguments(text[3], MAX_PATH);
    facts = {facts.Loaded, Narrow(text[0]), Narrow(text[1]), Narrow(text[2]), Narrow(text[3]), ""};
    PIDLIST_ABSOLUTE items = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(link->GetIDList(&items)) && items && SHGetPathFromIDListW(items, target)) facts.Items = Narrow(target);
    CoTaskMemFree(items);
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return facts;
}

std::string UnixScratch(const std::string& stem) {
  static const std::string run = std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  static int serial = 0;
  return "/tmp/ombrel-" + stem + "-" + run + "-" + std::to_string(++serial);
}

std::pair<int, std::string> RunUnix(const std::string& command, int timeoutMs) {
  // Wine starts a Unix program without a handle to wait on: it leaves output, then exit code in files.
  const std::string base = UnixScratch("unix");
  // In a script file: a command line would be split the Windows way.
  Write(base + ".sh", "(" + command + ") >" + base + ".out 2>&1; echo $? >" + base + ".tmp; mv " + base + ".tmp " +
                          base + ".rc\n");
  std::string line = "/bin/sh " + base + ".sh";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return {-1, "cannot start /bin/sh"};
  // For a Unix program Wine gives no process handle, and leaves whatever was on its stack as the
  // thread's: closing that would close some other handle of this process (its desktop, say).
  if (info.hProcess) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  // Bounded by the clock, not by a count of polls: a slow poll must not stretch the bound.
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(timeoutMs, 0));
  while (!IsFile(base + ".rc") && GetTickCount64() < deadline) Sleep(10);
  const std::string code = Read(base + ".rc"), output = Read(base + ".out");
  for (const char* end : {".sh", ".rc", ".out"}) DeleteFileW(Wide(DosPath(base + end)).c_str());
  return {code.empty() ? -1 : std::atoi(code.c_str()), output};
}

} // namespace files
