#include "shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

namespace {

const CLSID ShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID ShellLinkAInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID PersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The text in UTF-16 with its terminating NUL (only the NUL when it cannot be
// converted); a vector rather than a std::wstring, which would link the
// library's whole wide-string code for this one call.
std::vector<wchar_t> AnsiToWide(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> buffer(length > 0 ? static_cast<size_t>(length) : 1u, L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), length);
  return buffer;
}

} // namespace

long CreateLink(const std::string& target, const std::string& linkFile, const std::string& workDir,
                const std::string& description) {
  // Only a successful initialisation is balanced: uninitialising after a
  // refusal would undo someone else's.
  HRESULT initialised = CoInitialize(nullptr);
  HRESULT result = S_OK;
  auto note = [&result](HRESULT step) {
    if (FAILED(step) && SUCCEEDED(result)) result = step;
  };
  IShellLinkA* link = nullptr;
  HRESULT created = CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     ShellLinkAInterface, reinterpret_cast<void**>(&link));
  note(created);
  if (SUCCEEDED(created)) {
    note(link->SetPath(target.c_str()));
    note(link->SetWorkingDirectory(workDir.c_str()));
    note(link->SetDescription(description.c_str()));
    IPersistFile* file = nullptr;
    HRESULT persist = link->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file));
    note(persist);
    if (SUCCEEDED(persist)) {
      note(file->Save(AnsiToWide(linkFile).data(), FALSE));
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}
