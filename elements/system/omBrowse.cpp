#include "omBrowse.h"

#include <windows.h>
#include <shlobj.h>

#include "Text.h"

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
  wchar_t displayName[MAX_PATH + 1] = {};

  PIDLIST_ABSOLUTE root = nullptr;
  if (flags & BIF_BROWSEFORCOMPUTER)
    SHGetSpecialFolderLocation(owner, CSIDL_NETWORK, &root);
  else if (flags & BIF_BROWSEFORPRINTER)
    SHGetSpecialFolderLocation(owner, CSIDL_PRINTERS, &root);

  const TWideText title = WideOf(Title);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.data();
  info.ulFlags = flags;

  std::string result;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  // The system gives the activation back to the owner as the dialog goes,
  // but Wine's X11 driver can lose it to the X focus moving on, leaving no
  // window active and the keyboard nowhere: the owner takes it back.
  if (owner && !GetActiveWindow()) SetForegroundWindow(owner);
  if (chosen) {
    if (flags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER)) {
      result = WideToText(displayName);
    } else {
      // The path as the system names it, every character kept; an item
      // without a file-system path gives nothing.
      wchar_t path[MAX_PATH + 1] = {};
      if (SHGetPathFromIDListW(chosen, path)) result = WideToText(path);
    }
  }
  // Item lists come from the shell's task allocator, never from the global heap.
  CoTaskMemFree(chosen);
  CoTaskMemFree(root);

  if (!result.empty()) FireString(outPath, result);
}
