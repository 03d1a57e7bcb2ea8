// TClassMultiElement_5022298: the installation sequence. Writes the product's
// 34 text files and 3 pictures under "%1\Varkelo" (making Help, Info and img
// just before their files) and the desktop shortcut, then fires outEvent[0].
// Every text and picture is loaded while the container is built.
//   inWork[0]    run; the value comes back unchanged through outEvent[0]
//   outEvent[0]  the sequence is over
//   getData[0]   the install folder as text (%1), pulled by every path
//   varData[0]   unlinked
#pragma once

#include "SchemeShapes.h"
#include "omDir.h"
#include "omGetData.h"
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
    TOMStrList* List;
    TOMFormatStr* Path;
  };

  explicit TClassMultiElement_5022298(TWindowObject* parent);
  // The files it writes in the product folder, each as a path there.
  static std::vector<std::string> Files();

  // In creation order, the bridge first.
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMGetData* const FolderReader = Make<TOMGetData>(); // getData[0]
  TOMHub* const MainHub = Make<TOMHub>();              // the 12 steps
  TOMHub* const HelpHub = Make<TOMHub>();              // 6 pages
  TOMHub* const InfoHub = Make<TOMHub>();              // 23 pages
  TOMHub* const PictureHub = Make<TOMHub>();           // 3 pictures
  TOMDir* const HelpFolder = Make<TOMDir>();
  TOMDir* const InfoFolder = Make<TOMDir>(); // also tells the desktop folder
  TOMDir* const PictureFolder = Make<TOMDir>();
  TOMMemory* const ProgramPathMemory = Make<TOMMemory>();   // the shortcut's target
  TOMMemory* const ProductFolderMemory = Make<TOMMemory>(); // the shortcut's working folder
  TOMMemory* const LinkPathMemory = Make<TOMMemory>();      // the shortcut file; fires it
  TOMShortCut* const DesktopShortcut = Make<TOMShortCut>();
  const std::array<TOMJpeg*, PictureCount> Pictures = MakeMany<TOMJpeg, PictureCount>(); // db, Num1, Num4
  const std::array<TTextFile, TextFileCount> TextFiles = MakeTextFiles();                // in table order
  TOMFormatStr* const HelpFolderPath = Make<TOMFormatStr>();
  TOMFormatStr* const InfoFolderPath = Make<TOMFormatStr>();
  TOMFormatStr* const PictureFolderPath = Make<TOMFormatStr>();
  const std::array<TOMFormatStr*, PictureCount> PicturePaths = MakeMany<TOMFormatStr, PictureCount>();
  TOMFormatStr* const ProgramPath = Make<TOMFormatStr>();
  TOMFormatStr* const ProductFolderPath = Make<TOMFormatStr>();
  TOMFormatStr* const LinkPath = Make<TOMFormatStr>();

private:
  std::array<TTextFile, TextFileCount> MakeTextFiles();
};
