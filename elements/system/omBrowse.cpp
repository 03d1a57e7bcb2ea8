#include "omBrowse.h"

#include <windows.h>
#include <shlobj.h>

namespace {

constexpr UINT BrowseFlags[4] = {
    BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_RETURNFSANCESTORS | BIF_EDITBOX, // 0x001D
    BIF_BROWSEFORCOMPUTER,                                                       // 0x1000
    BIF_BROWSEFORPRINTER,                                                        // 0x2000
    BIF_BROWSEINCLUDEFILES,                                                      // 0x4000
};

} // namespace

void TOMBrowse::inBrowse(TData&, uint16_t) {
  const UINT flags = BrowseFlags[BrowseType < 4 ? BrowseType : 0];
  HWND owner = reinterpret_cast<HWND>(MainWindowHandle());
  char displayName[261] = {};

  PIDLIST_ABSOLUTE root = nullptr;
  if (flags & BIF_BROWSEFORCOMPUTER)
    SHGetSpecialFolderLocation(owner, CSIDL_NETWORK, &root);
  else if (flags & BIF_BROWSEFORPRINTER)
    SHGetSpecialFolderLocation(owner, CSIDL_PRINTERS, &root);

  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = Title.c_str();
  info.ulFlags = flags;

  std::string result;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  // The system gives the activation back to the owner as the dialog goes,
  // but Wine's X11 driver can lose it to the X focus moving on, leaving no
  // window active and the keyboard nowhere: the owner takes it back.
  if (owner && !GetActiveWindow()) SetForegroundWindow(owner);
  if (chosen) {
    if (flags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER)) {
      result = displayName;
    } else {
      char path[261] = {};
      // An item without a file-system path gives nothing.
      if (SHGetPathFromIDListA(chosen, path)) result = path;
    }
  }
  // Item lists come from the shell's task allocator, never from the global heap.
  CoTaskMemFree(chosen);
  CoTaskMemFree(root);

  if (!result.empty()) FireString(outPath, result);
}
