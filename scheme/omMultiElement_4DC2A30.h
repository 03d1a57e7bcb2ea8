// TClassMultiElement_4DC2A30: the program-file writer, first half of the
// installation. Makes the product folder "%1\Varkelo", writes the product's
// program file from STREAM0, starts the installation sequence through
// outEvent[0] and, once that has returned, records the product folder in
// "%1\Varkelo\dir.ini".
//
// Outside (as the main scheme sees its multi-element):
//   inWork[0]   run; the value is ignored, the folder is pulled
//   outEvent[0] the program file's full path, after the file is written
//   getData[0]  the install folder as text (%1)
//   varData[0]  the same folder, passed through to the installation sequence
#pragma once

#include <memory>

#include "Container.h"
#include "omDoData.h"
#include "omEditMulti.h"
#include "omFileStream.h"
#include "omFormatStr.h"
#include "omGetData.h"
#include "omHub.h"
#include "omINI.h"
#include "omDir.h"
#include "omMemory.h"
#include "omMemoryStream.h"

class TClassMultiElement_4DC2A30 : public TSchemeContainer {
public:
  explicit TClassMultiElement_4DC2A30(TWindowObject* parent);
  ~TClassMultiElement_4DC2A30() override;

  TOMEditMulti* Bridge() { return EditMulti.get(); }

  // Fields in declaration order, which is also the creation order.
  std::unique_ptr<TOMEditMulti> EditMulti;          // the bridge
  std::unique_ptr<TOMGetData> FolderReader;         // getData[0], offered again as varData[0]
  std::unique_ptr<TOMFormatStr> ProductFolderPath;  // "%1\Varkelo"
  std::unique_ptr<TOMDir> ProductFolderMaker;
  std::unique_ptr<TOMHub> FolderHub;                // program file, record path, record
  std::unique_ptr<TOMMemory> ProgramName;           // "Zelcap2-1.exe"
  std::unique_ptr<TOMFormatStr> ProgramPath;        // "%1\Varkelo\%2"
  std::unique_ptr<TOMHub> ProgramHub;               // write it, then outEvent[0]
  std::unique_ptr<TOMMemory> ProgramPathMemory;
  std::unique_ptr<TOMHub> OpenHub;                  // open the file, then send the data
  std::unique_ptr<TOMMemoryStream> ProgramData;     // STREAM0
  std::unique_ptr<TOMDoData> StreamSender;
  std::unique_ptr<TOMHub> CopyHub;                  // write, then close
  std::unique_ptr<TOMFileStream> ProgramFile;
  std::unique_ptr<TOMFormatStr> RecordPath;         // "%1\Varkelo\dir.ini"
  std::unique_ptr<TOMMemory> RecordPathMemory;
  std::unique_ptr<TOMFormatStr> RecordValue;        // "%1\Varkelo\"
  std::unique_ptr<TOMini> LocationRecord;           // [info] dir=
};
