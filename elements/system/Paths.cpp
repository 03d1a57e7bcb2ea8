#include "Paths.h"

#include <windows.h>

#include <vector>

#include "InstallLog.h"
#include "Resources.h"

namespace {

enum TFolderKind { fkWindows, fkTemp, fkSystem };

// GetTempPath2W where the system has it: the same folder as GetTempPathW but
// for the system's account, whose own then is one nobody else can write.
UINT TempPath(UINT size, wchar_t* buffer) {
  using TGetTempPath2 = DWORD(WINAPI*)(DWORD, LPWSTR);
  static const auto getTempPath2 = reinterpret_cast<TGetTempPath2>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
  return getTempPath2 ? getTempPath2(size, buffer) : GetTempPathW(size, buffer);
}

std::string Guarded; // the guarded folder, made whole

std::string AskFolder(TFolderKind kind) {
  constexpr UINT size = 261;
  wchar_t buffer[size] = {};
  UINT length = 0;
  switch (kind) {
  case fkWindows: length = GetWindowsDirectoryW(buffer, size); break;
  case fkTemp: length = TempPath(size, buffer); break;
  case fkSystem: length = GetSystemDirectoryW(buffer, size); break;
  }
  // A result that did not fit reports the size it needs; take nothing then.
  std::string folder = length < size ? WideToText(buffer, length) : std::string();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

// Replaces every occurrence; the search goes on behind the inserted text.
void ReplaceAll(std::string& text, const std::string& macro, TFolderKind kind) {
  size_t at = text.find(macro);
  if (at == std::string::npos) return;
  const std::string folder = AskFolder(kind);
  while (at != std::string::npos) {
    text.replace(at, macro.size(), folder);
    at = text.find(macro, at + folder.size());
  }
}

DWORD Attributes(const std::string& path) {
  TWideText wide;
  return WidePath(path, wide) ? GetFileAttributesW(wide.data()) : INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool WidePath(const std::string& path, TWideText& wide) {
  if (TextToWide(path, wide)) return true;
  SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  return false;
}

std::string FullPath(const std::string& path) {
  TWideText wide;
  if (!WidePath(path, wide)) return path;
  DWORD size = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
  TWideText full(size + 1, L'\0');
  size = size ? GetFullPathNameW(wide.data(), DWORD(full.size()), full.data(), nullptr) : 0;
  return size > 0 && size < full.size() ? WideToText(full.data(), size) : path;
}

bool WholeFolder(const std::string& folder, std::string& whole) {
  const auto separator = [&](size_t i) { return i < folder.size() && (folder[i] == '\\' || folder[i] == '/'); };
  const bool drive = folder.size() >= 3 && ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') &&
                     folder[1] == ':' && separator(2);
  // \\server\share: a server and a share, not \\?\ or \\.\ (a device).
  const size_t share = separator(0) && separator(1) ? folder.find_first_of("\\/", 2) : std::string::npos;
  const bool network = share != std::string::npos && share > 2 && folder[2] != '?' && folder[2] != '.' &&
                       share + 1 < folder.size() && !separator(share + 1);
  if (!drive && !network) return false;
  TWideText wide;
  if (!WidePath(folder, wide)) return false;
  const DWORD size = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
  TWideText full(size + 1, L'\0');
  const DWORD length = size ? GetFullPathNameW(wide.data(), DWORD(full.size()), full.data(), nullptr) : 0;
  if (length == 0 || length >= full.size()) return false;
  whole = WideToText(full.data(), length);
  // A reserved device name ("D:\\x\\NUL") comes back as the device itself.
  if (whole.rfind("\\\\.\\", 0) == 0 || whole.rfind("\\\\?\\", 0) == 0) return false;
  const size_t root = drive ? 3 : whole.find('\\', whole.find('\\', 2) + 1) + 1;
  while (whole.size() > root && whole.back() == '\\') whole.pop_back();
  return true;
}

bool IsWithin(const std::string& path, const std::string& folder) {
  const TWideText whole = WideOf(FullPath(path)), within = WideOf(FullPath(folder));
  const int n = int(within.size()) - 1; // without the NUL
  if (n <= 0 || int(whole.size()) - 1 < n ||
      CompareStringOrdinal(whole.data(), n, within.data(), n, TRUE) != CSTR_EQUAL)
    return false;
  return whole[size_t(n)] == L'\0' || whole[size_t(n)] == L'\\' || within[size_t(n) - 1] == L'\\';
}

void GuardFolder(const std::string& folder) { Guarded = folder.empty() ? folder : FullPath(folder); }

uint32_t LinkOnTheWay(const std::string& path) {
  if (Guarded.empty() || !IsWithin(path, Guarded)) return 0;
  // Each step down from the guarded folder, as far as it exists.
  TWideText whole = WideOf(FullPath(path));
  const size_t length = whole.size() - 1; // without the NUL
  for (size_t end = WideOf(Guarded).size() - 1;;) {
    const wchar_t kept = whole[end];
    whole[end] = L'\0';
    const DWORD attributes = GetFileAttributesW(whole.data());
    whole[end] = kept;
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return ERROR_REPARSE_POINT_ENCOUNTERED;
    for (++end; end < length && whole[end] != L'\\'; ++end) {}
    if (end > length) return 0;
  }
}

bool HeldByAnother(const std::string& path) {
  TWideText wide;
  if (!WidePath(path, wide)) return false;
  HANDLE held = CreateFileW(wide.data(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  return held == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

namespace {

// "<target>.<number><ending>", a name beside the target not taken yet by the
// time it is asked for; each call another number.
TWideText NameBeside(const TWideText& target, const wchar_t* ending) {
  static DWORD serial = GetTickCount();
  TWideText name(target.begin(), target.end() - 1);
  name.push_back(L'.');
  for (DWORD n = ++serial; n; n >>= 4) name.push_back(L"0123456789abcdef"[n & 0xF]);
  for (; *ending; ++ending) name.push_back(*ending);
  name.push_back(L'\0');
  return name;
}

} // namespace

uint32_t MakeTempBeside(const std::string& target, TWideText& temp, void** open) {
  // Never through a link planted in the product's folder.
  if (const uint32_t error = LinkOnTheWay(target)) return error;
  // A target another program holds open cannot be replaced: said before
  // anything is written, in the system's words for a file in use.
  TWideText wide;
  if (!WidePath(target, wide)) return LastFailureCode();
  if (HeldByAnother(target)) return ERROR_SHARING_VIOLATION;
  // "<target>.<number>.~tmp", the first such name not taken.
  for (int tries = 0; tries < 100; ++tries) {
    temp = NameBeside(wide, L".~tmp");
    HANDLE file = CreateFileW(temp.data(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      if (open) *open = file;
      else CloseHandle(file);
      return 0;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return LastFailureCode();
  }
  return ERROR_FILE_EXISTS;
}

bool DigestOf(const TWideText& path, TDigest& digest) {
  HANDLE file = CreateFileW(path.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  digest = TDigest{};
  std::vector<uint8_t> buffer(256 * 1024);
  DWORD got = 0;
  bool read = true;
  while ((read = ReadFile(file, buffer.data(), DWORD(buffer.size()), &got, nullptr) != FALSE) && got > 0) {
    digest.Crc = Crc32(buffer.data(), got, digest.Crc);
    digest.Size += got;
  }
  CloseHandle(file);
  return read;
}

uint32_t MoveOver(const TWideText& temp, const std::string& target, const TDigest* written) {
  TWideText wide;
  TDigest digest;
  uint32_t error = 0;
  if (!WidePath(target, wide)) error = LastFailureCode();
  else if (written) digest = *written;
  else if (!DigestOf(temp, digest)) error = LastFailureCode();
  // Kept aside, not copied: a run that is put back moves it back.
  TWideText older;
  if (!error && InstallLog().KeepsOlder() && GetFileAttributesW(wide.data()) != INVALID_FILE_ATTRIBUTES) {
    for (int tries = 0; tries < 100 && older.empty(); ++tries) {
      older = NameBeside(wide, L".~old");
      if (MoveFileExW(wide.data(), older.data(), 0)) break;
      error = LastFailureCode();
      older.clear();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
    }
    if (!older.empty()) error = 0;
  }
  if (!error && MoveFileExW(temp.data(), wide.data(), older.empty() ? MOVEFILE_REPLACE_EXISTING : 0)) {
    InstallLog().Moved(target, older, digest.Crc, digest.Size);
    return 0;
  }
  if (!error) error = LastFailureCode();
  DeleteFileW(temp.data());
  if (!older.empty()) MoveFileExW(older.data(), wide.data(), 0);
  return error;
}

std::string ExpandPathMacros(const std::string& path) {
  std::string result = path;
  ReplaceAll(result, "%windir%", fkWindows);
  ReplaceAll(result, "%tmpdir%", fkTemp);
  ReplaceAll(result, "%sysdir%", fkSystem);
  return result;
}

std::string FullFileName(const std::string& path) {
  std::string result = ExpandPathMacros(path);
  if (result.find_last_of(":\\") == std::string::npos) result = ProgramFolder() + result;
  return result;
}

std::string ProgramFolder() {
  constexpr DWORD size = 512;
  wchar_t buffer[size] = {};
  DWORD length = GetModuleFileNameW(nullptr, buffer, size);
  std::string name = WideToText(buffer, length < size ? length : 0);
  size_t slash = name.rfind('\\');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
