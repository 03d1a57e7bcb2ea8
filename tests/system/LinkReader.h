// Reads a link file back through the shell-link object: the tests' own check
// of what the shortcut element wrote.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

struct TLinkFacts {
  bool Loaded = false;
  std::string Path, WorkDir, Description, Arguments;
  int ShowCommand = 0;
};

inline TLinkFacts ReadLink(const std::string& file) {
  TLinkFacts facts;
  HRESULT initialised = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
      facts.Loaded = SUCCEEDED(persist->Load(wide, STGM_READ));
      persist->Release();
    }
    char text[MAX_PATH] = {};
    auto take = [&text](HRESULT, std::string& into) {
      into = text;
      text[0] = 0;
    };
    take(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH), facts.Path);
    take(link->GetWorkingDirectory(text, MAX_PATH), facts.WorkDir);
    take(link->GetDescription(text, MAX_PATH), facts.Description);
    take(link->GetArguments(text, MAX_PATH), facts.Arguments);
    link->GetShowCmd(&facts.ShowCommand);
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return facts;
}
