// TClassMultiElement_5022298: the installation sequence. Writes the product's
// 34 text files and 3 pictures under "%1\Varkelo" (making Help, Info and img
// just before their files) and the desktop shortcut, then fires outEvent[0].
// Every text and picture is loaded while the container is built.
//
// Outside (as the main scheme sees its multi-element):
//   inWork[0]   run; the value comes back unchanged through outEvent[0]
//   outEvent[0] the sequence is over
//   getData[0]  the install folder as text (%1), pulled by every path
//   varData[0]  unlinked
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "Container.h"
#include "omDir.h"
#include "omEditMulti.h"
#include "omFormatStr.h"
#include "omGetData.h"
#include "omHub.h"
#include "omJpeg.h"
#include "omMemory.h"
#include "omShortcut.h"
#include "omStrList.h"

class TClassMultiElement_5022298 : public TSchemeContainer {
public:
  static constexpr size_t TextFileCount = 34;
  static constexpr size_t PictureCount = 3;

  // One text file: its line list and the path element that names it.
  struct TTextFile {
    std::unique_ptr<TOMStrList> List;
    std::unique_ptr<TOMFormatStr> Path;
  };

  explicit TClassMultiElement_5022298(TWindowObject* parent);
  ~TClassMultiElement_5022298() override;

  TOMEditMulti* Bridge() { return EditMulti.get(); }

  // Fields in declaration order, which is also the creation order.
  std::unique_ptr<TOMEditMulti> EditMulti;            // the bridge
  std::unique_ptr<TOMGetData> FolderReader;           // getData[0]
  std::unique_ptr<TOMHub> MainHub;                    // 12 steps
  std::unique_ptr<TOMHub> HelpHub;                    // 6 pages
  std::unique_ptr<TOMHub> InfoHub;                    // 23 pages
  std::unique_ptr<TOMHub> PictureHub;                 // 3 pictures
  std::unique_ptr<TOMDir> HelpFolder;
  std::unique_ptr<TOMDir> InfoFolder;                 // also tells the desktop folder
  std::unique_ptr<TOMDir> PictureFolder;
  std::unique_ptr<TOMMemory> ProgramPathMemory;       // the shortcut's target
  std::unique_ptr<TOMMemory> ProductFolderMemory;     // the shortcut's working folder
  std::unique_ptr<TOMMemory> LinkPathMemory;          // the shortcut file; fires it
  std::unique_ptr<TOMShortCut> DesktopShortcut;
  std::array<std::unique_ptr<TOMJpeg>, PictureCount> Pictures;      // db, Num1, Num4
  std::array<TTextFile, TextFileCount> TextFiles;                    // in table order
  std::unique_ptr<TOMFormatStr> HelpFolderPath;
  std::unique_ptr<TOMFormatStr> InfoFolderPath;
  std::unique_ptr<TOMFormatStr> PictureFolderPath;
  std::array<std::unique_ptr<TOMFormatStr>, PictureCount> PicturePaths;
  std::unique_ptr<TOMFormatStr> ProgramPath;
  std::unique_ptr<TOMFormatStr> ProductFolderPath;
  std::unique_ptr<TOMFormatStr> LinkPath;
};
