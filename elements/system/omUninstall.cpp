#include "omUninstall.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "ByteStream.h"
#include "Paths.h"
#include "omDir.h"
#include "Resources.h"
#include "shortcut.h"

namespace {

// The record follows the image where the installer has its archive: the
// magic, the text's size and CRC-32, then the text, one line per item:
// "key", "exe", "dir", "file" or "link", a tab, the name. No file name holds
// a tab or a line break. Anyone can write a record: what it names is
// checked against the product folder before anything is removed.
constexpr char RecordMagic[8] = {'O', 'M', 'B', 'R', 'E', 'L', 'U', 'N'};
constexpr size_t RecordHead = sizeof RecordMagic + 8;

constexpr REGSAM OwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::string EncodeRecord(const TUninstallRecord& record) {
  std::string text = "key\t" + record.Key + "\nexe\t" + record.Uninstaller + "\n";
  static const char* const kinds[] = {"file\t", "dir\t", "link\t"};
  for (const TMadeItem& item : record.Made) text += kinds[item.Kind] + item.Path + "\n";
  const uint32_t size = uint32_t(text.size()), crc = Crc32(text.data(), text.size());
  std::string bytes(RecordMagic, sizeof RecordMagic);
  bytes.append(reinterpret_cast<const char*>(&size), 4);
  bytes.append(reinterpret_cast<const char*>(&crc), 4);
  return bytes + text;
}

// The record appended to a program file's bytes, if it has one that is whole.
bool DecodeRecord(std::string_view file, TUninstallRecord& record) {
  const size_t end = ImageEnd(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  if (end == 0 || file.size() - end < RecordHead || file.compare(end, sizeof RecordMagic, RecordMagic, sizeof RecordMagic))
    return false;
  uint32_t size = 0, crc = 0;
  std::memcpy(&size, file.data() + end + 8, 4);
  std::memcpy(&crc, file.data() + end + 12, 4);
  const std::string_view text = file.substr(end + RecordHead);
  if (text.size() < size || Crc32(text.data(), size) != crc) return false;
  record = TUninstallRecord{};
  for (size_t at = 0, next; (next = text.find('\n', at)) < size; at = next + 1) {
    const size_t tab = text.find('\t', at);
    if (tab >= next) return false;
    std::string name(text.substr(tab + 1, next - tab - 1));
    switch (text[at]) { // the kind's first letter tells it
      case 'k': record.Key = name; break;
      case 'e': record.Uninstaller = name; break;
      case 'f': record.Made.push_back(TMadeItem{TMadeItem::mkFile, name}); break;
      case 'd': record.Made.push_back(TMadeItem{TMadeItem::mkFolder, name}); break;
      case 'l': record.Made.push_back(TMadeItem{TMadeItem::mkLink, name}); break;
      default: return false;
    }
  }
  return !record.Key.empty() && !record.Uninstaller.empty();
}

std::string ReadWhole(const std::string& path) {
  std::unique_ptr<TByteStream> file = OpenReadStream(path);
  std::string bytes(size_t(file->IsOpen() ? file->Size() : 0), '\0');
  bytes.resize(size_t(file->Read(bytes.data(), int64_t(bytes.size()))));
  return bytes;
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  TWideText wide;
  if (!WidePath(path, wide) || !GetFileAttributesExW(wide.data(), GetFileExInfoStandard, &data)) return 0;
  return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Writes the uninstaller: the image of this program, which the installer's
// signature no longer covers, straight from the program file, then the
// record. 0, or the system's error; size is what it writes.
uint32_t WriteUninstaller(const TUninstallRecord& record, uint64_t& size) {
  const std::string_view program = ProgramFileBytes();
  const size_t end = ImageEnd(reinterpret_cast<const uint8_t*>(program.data()), program.size());
  if (end == 0) return ERROR_BAD_EXE_FORMAT;
  const size_t pe = size_t(reinterpret_cast<const IMAGE_DOS_HEADER*>(program.data())->e_lfanew);
  std::string headers(program.substr(0, pe + sizeof(IMAGE_NT_HEADERS)));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(&headers[pe]);
  nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY] = IMAGE_DATA_DIRECTORY{};
  nt->OptionalHeader.CheckSum = 0;
  const std::string tail = EncodeRecord(record);
  size = end + tail.size();
  std::unique_ptr<TByteStream> file = OpenWriteStream(record.Uninstaller);
  if (!file->IsOpen()) return file->Error();
  const int64_t rest = int64_t(end - headers.size());
  if (file->Write(headers.data(), int64_t(headers.size())) != int64_t(headers.size()) ||
      file->Write(program.data() + headers.size(), rest) != rest ||
      file->Write(tail.data(), int64_t(tail.size())) != int64_t(tail.size()))
    return file->Error() ? file->Error() : ERROR_WRITE_FAULT;
  return file->Close();
}

// The entry's values, one after another until one fails.
struct TEntryWriter {
  HKEY Key = nullptr;
  LSTATUS Status;
  explicit TEntryWriter(const std::string& path)
      : Status(RegCreateKeyExW(HKEY_LOCAL_MACHINE, WideOf(path).data(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_SET_VALUE | OwnView, nullptr, &Key, nullptr)) {}
  ~TEntryWriter() {
    if (Key) RegCloseKey(Key);
  }
  void Set(const wchar_t* name, DWORD type, const void* data, size_t size) {
    if (Status == ERROR_SUCCESS) Status = RegSetValueExW(Key, name, 0, type, static_cast<const BYTE*>(data), DWORD(size));
  }
  void Text(const wchar_t* name, const std::string& text) {
    const TWideText value = WideOf(text);
    Set(name, REG_SZ, value.data(), value.size() * sizeof(wchar_t));
  }
  void Number(const wchar_t* name, DWORD number) { Set(name, REG_DWORD, &number, sizeof number); }
};

std::string EntryName(const std::string& key) { return "HKEY_LOCAL_MACHINE\\" + std::string(UninstallKey) + key; }

bool Gone(uint32_t error) {
  return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What the record names that the product folder's uninstaller may remove.
bool Governs(const std::string& product, const TMadeItem& item) {
  switch (item.Kind) {
  case TMadeItem::mkFile: return IsWithin(item.Path, product);
  case TMadeItem::mkFolder: return IsWithin(item.Path, product) || IsWithin(product, item.Path);
  case TMadeItem::mkLink: return true; // where it leads decides
  }
  return false;
}

bool SamePath(const std::string& a, const std::string& b) { return IsWithin(a, b) && IsWithin(b, a); }

// The values of an entry as they are, to put back when the run is; none
// when there is no entry.
struct TKeptEntry {
  struct TValue {
    TWideText Name;
    DWORD Type;
    std::vector<BYTE> Data;
  };
  bool Existed = false;
  std::vector<TValue> Values;
};

TKeptEntry KeepEntry(const std::string& path) {
  TKeptEntry kept;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideOf(path).data(), 0, KEY_QUERY_VALUE | OwnView, &key) != ERROR_SUCCESS)
    return kept;
  kept.Existed = true;
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    TKeptEntry::TValue value{TWideText(name, name + length + 1), type, std::vector<BYTE>(size)};
    length = 16384;
    if (RegEnumValueW(key, i, name, &length, nullptr, &type, value.Data.data(), &size) == ERROR_SUCCESS)
      kept.Values.push_back(std::move(value));
  }
  RegCloseKey(key);
  return kept;
}

void PutEntryBack(const std::string& path, const TKeptEntry& kept) {
  const TWideText wide = WideOf(path);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, wide.data(), OwnView, 0);
  if (!kept.Existed) return;
  TEntryWriter entry(path);
  for (const TKeptEntry::TValue& value : kept.Values) entry.Set(value.Name.data(), value.Type, value.Data.data(), value.Data.size());
  if (entry.Status != ERROR_SUCCESS)
    InstallLog().Add(EntryName(path.substr(sizeof UninstallKey - 1)), uint32_t(entry.Status),
                     "Не удалось вернуть прежнюю запись: " + SystemErrorText(uint32_t(entry.Status)));
}

// A file or an empty folder, never through a link in the product folder, nor
// a folder that is a link itself.
uint32_t Remove(const std::string& path, bool folder) {
  if (const uint32_t error = LinkOnTheWay(path)) return error;
  TWideText wide;
  if (!WidePath(path, wide)) return GetLastError();
  const DWORD attributes = GetFileAttributesW(wide.data());
  if (folder && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return ERROR_REPARSE_POINT_ENCOUNTERED;
  if (folder ? RemoveDirectoryW(wide.data()) : DeleteFileW(wide.data())) return ERROR_SUCCESS;
  return GetLastError();
}

const char* const NotGovernedText = "Не входит в папку программы: оставлено как есть";

} // namespace

std::string EntryLocation(const std::string& key) {
  HKEY entry = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideOf(UninstallKey + key).data(), 0, KEY_QUERY_VALUE | OwnView, &entry) !=
      ERROR_SUCCESS)
    return std::string();
  wchar_t location[MAX_PATH * 4] = {};
  DWORD size = sizeof location - sizeof(wchar_t), type = 0;
  const LSTATUS status = RegQueryValueExW(entry, L"InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(location), &size);
  RegCloseKey(entry);
  return status == ERROR_SUCCESS && type == REG_SZ ? WideToText(location) : std::string();
}

bool ReadOwnRecord(TUninstallRecord& record) { return DecodeRecord(ProgramFileBytes(), record); }

void TOMUninstall::inWrite(TData& value, uint16_t) {
  const std::string folder = DisplayPath(DataToString(value));
  TUninstallRecord record{Key, folder + "\\" + UninstallerName, {}};
  // Installed again over an earlier installation into this folder: the
  // folders that one made are still this product's, to be removed with it.
  TUninstallRecord earlier;
  if (SamePath(EntryLocation(Key), folder) && LinkOnTheWay(record.Uninstaller) == 0 &&
      DecodeRecord(ReadWhole(record.Uninstaller), earlier))
    for (const TMadeItem& item : earlier.Made)
      if (item.Folder() && Governs(folder, item)) record.Made.push_back(item);
  uint64_t size = 0;
  for (const TMadeItem& item : InstallLog().Made()) {
    record.Made.push_back(TMadeItem{item.Kind, DisplayPath(item.Path)});
    if (!item.Folder()) size += FileSize(item.Path);
  }
  uint64_t written = 0;
  if (const uint32_t error = WriteUninstaller(record, written)) {
    InstallLog().Add(record.Uninstaller, error);
    InstallLog().Add(EntryName(Key), error, "Не записано: нет программы удаления");
    RemoveEmptyFoldersMade();
    return;
  }
  // As Apps & features reads it.
  // Put back as it was if the run is.
  if (InstallLog().KeepsOlder())
    InstallLog().OnRollBack([path = UninstallKey + Key, kept = KeepEntry(UninstallKey + Key)] { PutEntryBack(path, kept); });
  TEntryWriter entry(UninstallKey + Key);
  entry.Text(L"DisplayName", DisplayName);
  entry.Text(L"DisplayVersion", DisplayVersion);
  entry.Text(L"InstallLocation", folder);
  entry.Text(L"DisplayIcon", folder + "\\" + ProgramName);
  const std::string command = "\"" + record.Uninstaller + "\"";
  entry.Text(L"UninstallString", command);
  entry.Text(L"QuietUninstallString", command + " /S");
  entry.Number(L"EstimatedSize", DWORD((size + written + 1023) / 1024));
  entry.Number(L"NoModify", 1);
  entry.Number(L"NoRepair", 1);
  if (entry.Status != ERROR_SUCCESS) InstallLog().Add(EntryName(Key), uint32_t(entry.Status));
  // A run that failed leaves no folder it made of no use.
  if (InstallLog().Count()) RemoveEmptyFoldersMade();
}

void RemoveInstallation(const TUninstallRecord& record, const std::string& product) {
  GuardFolder(product);
  for (size_t i = record.Made.size(); i-- > 0;) {
    const TMadeItem& item = record.Made[i];
    if (item.Folder()) continue;
    if (!Governs(product, item)) {
      if (FileExists(item.Path)) InstallLog().Add(item.Path, ERROR_ACCESS_DENIED, NotGovernedText);
    } else if (item.Kind == TMadeItem::mkLink) {
      // A shortcut that leads elsewhere now is another installation's.
      if (IsWithin(LinkTarget(item.Path), product))
        if (const uint32_t error = Remove(item.Path, false); !Gone(error)) InstallLog().Add(item.Path, error);
    } else if (const uint32_t error = Remove(item.Path, false); !Gone(error)) {
      InstallLog().Add(item.Path, error);
    }
  }
  for (const TMadeItem& item : record.Made)
    if (item.Folder() && !Governs(product, item) && FolderExists(item.Path))
      InstallLog().Add(item.Path, ERROR_ACCESS_DENIED, NotGovernedText);
  RemoveEmptyFolders(record, product);
  // An entry that names another folder is the live installation's.
  if (!SamePath(EntryLocation(record.Key), product)) return;
  const LSTATUS status = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, WideOf(UninstallKey + record.Key).data(), OwnView, 0);
  if (!Gone(uint32_t(status))) InstallLog().Add(EntryName(record.Key), uint32_t(status));
}

void RemoveEmptyFolders(const TUninstallRecord& record, const std::string& product) {
  GuardFolder(product);
  // A folder that is not empty (a file of the user's, the running
  // uninstaller) stays, and that is no failure; nor is one through a link,
  // which LinkOnTheWay refuses: its files were refused and reported.
  for (size_t i = record.Made.size(); i-- > 0;)
    if (record.Made[i].Folder() && Governs(product, record.Made[i])) Remove(record.Made[i].Path, true);
}
