#include "omUninstall.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "ByteStream.h"
#include "Paths.h"
#include "Resources.h"

namespace {

// The record follows the image where the installer has its archive: the
// magic, the text's size and CRC-32, then the text, one line per item:
// "key", "exe", "dir" or "file", a tab, the name. No file name holds a tab or
// a line break.
constexpr char RecordMagic[8] = {'O', 'M', 'B', 'R', 'E', 'L', 'U', 'N'};
constexpr size_t RecordHead = sizeof RecordMagic + 8;

constexpr REGSAM OwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::string EncodeRecord(const TUninstallRecord& record) {
  std::string text = "key\t" + record.Key + "\nexe\t" + record.Uninstaller + "\n";
  for (const TMadeItem& item : record.Made) text += (item.Folder ? "dir\t" : "file\t") + item.Path + "\n";
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
      case 'd':
      case 'f': record.Made.push_back(TMadeItem{text[at] == 'd', name}); break;
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

uint32_t RemoveFile(const std::string& path) {
  TWideText wide;
  if (!WidePath(path, wide)) return GetLastError();
  return DeleteFileW(wide.data()) ? ERROR_SUCCESS : GetLastError();
}

// Innermost first; one that is not empty (a file of the user's, the running
// uninstaller) stays, and that is no failure.
void RemoveEmptyFolders(const TUninstallRecord& record) {
  TWideText wide;
  for (size_t i = record.Made.size(); i-- > 0;)
    if (record.Made[i].Folder && WidePath(record.Made[i].Path, wide)) RemoveDirectoryW(wide.data());
}

} // namespace

bool ReadOwnRecord(TUninstallRecord& record) { return DecodeRecord(ProgramFileBytes(), record); }

void TOMUninstall::inWrite(TData& value, uint16_t) {
  const std::string folder = DisplayPath(DataToString(value));
  TUninstallRecord record{Key, folder + "\\" + UninstallerName, {}};
  // Installed again over an earlier installation: the folders that one made
  // are still this product's, to be removed with it.
  TUninstallRecord earlier;
  if (DecodeRecord(ReadWhole(record.Uninstaller), earlier))
    for (const TMadeItem& item : earlier.Made)
      if (item.Folder) record.Made.push_back(item);
  uint64_t size = 0;
  for (const TMadeItem& item : InstallLog().Made()) {
    record.Made.push_back(TMadeItem{item.Folder, DisplayPath(item.Path)});
    if (!item.Folder) size += FileSize(item.Path);
  }
  uint64_t written = 0;
  if (const uint32_t error = WriteUninstaller(record, written)) {
    InstallLog().Add(record.Uninstaller, error);
    InstallLog().Add(EntryName(Key), error, "Не записано: нет программы удаления");
    return;
  }
  // As Apps & features reads it.
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
}

void RemoveInstallation(const TUninstallRecord& record) {
  for (size_t i = record.Made.size(); i-- > 0;)
    if (!record.Made[i].Folder)
      if (const uint32_t error = RemoveFile(record.Made[i].Path); !Gone(error)) InstallLog().Add(record.Made[i].Path, error);
  RemoveEmptyFolders(record);
  const LSTATUS status = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, WideOf(UninstallKey + record.Key).data(), OwnView, 0);
  if (!Gone(uint32_t(status))) InstallLog().Add(EntryName(record.Key), uint32_t(status));
}

void RemoveUninstaller(const TUninstallRecord& record) {
  // The ended uninstaller's file may stay locked for a moment after its
  // process is gone.
  for (int attempt = 0; attempt < 50; ++attempt) {
    const uint32_t error = RemoveFile(record.Uninstaller);
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
    Sleep(100);
  }
  RemoveEmptyFolders(record);
}
