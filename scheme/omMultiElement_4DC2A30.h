// TClassMultiElement_4DC2A30: the program-file writer, first half of the
// installation. Makes the product folder "%1\Varkelo", writes the product's
// program file from STREAM0, starts the installation sequence through
// outEvent[0] and, once that has returned, records the product folder in
// "%1\Varkelo\dir.ini"; then makes the uninstaller, which removes all that
// again, and registers the product with the system.
//   inWork[0]    run; the value is ignored, the folder is pulled
//   outEvent[0]  the program file's full path, after the file is written
//   getData[0]   the install folder as text (%1)
//   varData[0]   the same folder, passed through to the installation sequence
#pragma once

#include "SchemeShapes.h"
#include "omDir.h"
#include "omDoData.h"
#include "omFileStream.h"
#include "omGetData.h"
#include "omINI.h"
#include "omMemory.h"
#include "omMemoryStream.h"
#include "omUninstall.h"

class TClassMultiElement_4DC2A30 : public TSchemeContainer {
public:
  explicit TClassMultiElement_4DC2A30(TWindowObject* parent);
  // The files it writes in the product folder, each as a path there: the
  // program file, the location record and the uninstaller.
  static std::vector<std::string> Files() { return {ProgramFileName, "dir.ini", UninstallerName}; }

  // In creation order, the bridge first.
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMGetData* const FolderReader = Make<TOMGetData>(); // getData[0]
  TOMFormatStr* const ProductFolderPath = Make<TOMFormatStr>();
  TOMDir* const ProductFolderMaker = Make<TOMDir>();
  TOMHub* const FolderHub = Make<TOMHub>(); // program file, record path, record, uninstaller
  TOMMemory* const ProgramName = Make<TOMMemory>();
  TOMFormatStr* const ProgramPath = Make<TOMFormatStr>();
  TOMHub* const ProgramHub = Make<TOMHub>(); // write the file, then the installation sequence
  TOMMemory* const ProgramPathMemory = Make<TOMMemory>();
  TOMHub* const OpenHub = Make<TOMHub>(); // open, then copy
  TOMMemoryStream* const ProgramData = Make<TOMMemoryStream>();
  TOMDoData* const StreamSender = Make<TOMDoData>();
  TOMHub* const CopyHub = Make<TOMHub>(); // write, then close
  TOMFileStream* const ProgramFile = Make<TOMFileStream>();
  TOMFormatStr* const RecordPath = Make<TOMFormatStr>();
  TOMMemory* const RecordPathMemory = Make<TOMMemory>();
  TOMFormatStr* const RecordValue = Make<TOMFormatStr>();
  TOMini* const LocationRecord = Make<TOMini>();
  TOMFormatStr* const UninstallFolder = Make<TOMFormatStr>();
  TOMUninstall* const Uninstaller = Make<TOMUninstall>();
};
