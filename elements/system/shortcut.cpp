#include "shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "Paths.h"
#include "Text.h"

namespace {

const CLSID ShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID ShellLinkWInterface = {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID PersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

} // namespace

long CreateLink(const std::string& target, const std::string& linkFile, const std::string& workDir,
                const std::string& description) {
  // Every text goes to the shell link as it is, or no link is made: a link
  // to a look-alike of the program would lead nowhere, or somewhere else.
  TWideText wideTarget, wideLink, wideWorkDir, wideDescription;
  if (!TextToWide(target, wideTarget) || !TextToWide(linkFile, wideLink) || !TextToWide(workDir, wideWorkDir) ||
      !TextToWide(description, wideDescription))
    return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
  // Only a successful initialisation is balanced: uninitialising after a
  // refusal would undo someone else's.
  HRESULT initialised = CoInitialize(nullptr);
  HRESULT result = S_OK;
  auto note = [&result](HRESULT step) {
    if (FAILED(step) && SUCCEEDED(result)) result = step;
  };
  IShellLinkW* link = nullptr;
  HRESULT created = CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     ShellLinkWInterface, reinterpret_cast<void**>(&link));
  note(created);
  if (SUCCEEDED(created)) {
    note(link->SetPath(wideTarget.data()));
    note(link->SetWorkingDirectory(wideWorkDir.data()));
    note(link->SetDescription(wideDescription.data()));
    IPersistFile* file = nullptr;
    HRESULT persist = link->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file));
    note(persist);
    if (SUCCEEDED(persist)) {
      // Whole or not at all: saved beside the link's place, then moved into it.
      TWideText temp;
      if (const uint32_t error = MakeTempBeside(linkFile, temp)) {
        note(HRESULT_FROM_WIN32(error));
      } else {
        const HRESULT saved = file->Save(temp.data(), FALSE);
        note(saved);
        if (FAILED(saved)) DeleteFileW(temp.data());
        else note(HRESULT_FROM_WIN32(MoveOver(temp, linkFile)));
      }
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return result;
}

std::string LinkTarget(const std::string& linkFile) {
  TWideText wideLink;
  if (!TextToWide(linkFile, wideLink)) return std::string();
  HRESULT initialised = CoInitialize(nullptr);
  std::string target;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                 ShellLinkWInterface, reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    wchar_t path[MAX_PATH * 2] = {};
    if (SUCCEEDED(link->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(wideLink.data(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(path, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
        target = WideToText(path);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return target;
}
