#include "omMultiElement_4DC2A30.h"

#include "Resources.h"

TClassMultiElement_4DC2A30::TClassMultiElement_4DC2A30(TWindowObject*) {
  // Settings and links, in reverse creation order; each link is stored in
  // the element that fires or reads it.
  const TPointLink folder = MakePointLink<&TOMGetData::varData>(0, FolderReader);
  // Last of all, once everything it is to remove is made.
  Uninstaller->Key = ProductKey;
  Uninstaller->DisplayName = ProductName;
  Uninstaller->DisplayVersion = "2.1";
  Uninstaller->ProgramName = ProgramFileName;
  SetProductPath(*UninstallFolder, "", {folder}, MakePointLink<&TOMUninstall::inWrite>(0, Uninstaller));
  // The record file comes from the record path memory; the property is only its fallback.
  LocationRecord->FileName = "dir.ini";
  LocationRecord->Section = "info";
  LocationRecord->Key = "dir";
  LocationRecord->ValueType = 1;
  LocationRecord->getFileName = MakePointLink<&TOMMemory::varValue>(0, RecordPathMemory);
  // The recorded value keeps its trailing backslash.
  SetFormat(*RecordValue, (ProductPath() + "\\").c_str(), {folder}, MakePointLink<&TOMini::inWrite>(0, LocationRecord));
  SetProductPath(*RecordPath, "dir.ini", {folder}, MakePointLink<&TOMMemory::inValue>(0, RecordPathMemory));
  ProgramFile->FileName.clear();
  ProgramFile->Mode = TOMFileStream::fmWrite;
  ProgramFile->AutoOpen = 0;
  ProgramFile->getFileName = MakePointLink<&TOMMemory::varValue>(0, ProgramPathMemory);
  SetHub(*CopyHub, 1,
         {MakePointLink<&TOMFileStream::inWrite>(0, ProgramFile), MakePointLink<&TOMFileStream::inClose>(0, ProgramFile)});
  StreamSender->getData = MakePointLink<&TOMMemoryStream::varStream>(0, ProgramData);
  StreamSender->outEventData = MakePointLink<&TOMHub::inDo>(0, CopyHub);
  ProgramData->SetStream(LoadResourceStream("STREAM0"));
  SetHub(*OpenHub, 1,
         {MakePointLink<&TOMFileStream::inOpen>(0, ProgramFile), MakePointLink<&TOMDoData::inDo>(0, StreamSender)});
  ProgramPathMemory->outData = MakePointLink<&TOMHub::inDo>(0, OpenHub);
  // The installation sequence runs inside outStep[1]: the program file is
  // complete and closed before it starts.
  SetHub(*ProgramHub, 1,
         {MakePointLink<&TOMMemory::inValue>(0, ProgramPathMemory), MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti)});
  SetProductPath(*ProgramPath, "%2", {folder, MakePointLink<&TOMMemory::varValue>(0, ProgramName)},
            MakePointLink<&TOMHub::inDo>(0, ProgramHub));
  ProgramName->SetDefault(StringData(ProgramFileName));
  // The record is written after the whole installation sequence, and the
  // uninstaller after it.
  SetHub(*FolderHub, 1,
         {MakePointLink<&TOMFormatStr::inString>(0, ProgramPath), MakePointLink<&TOMFormatStr::inString>(0, RecordPath),
          MakePointLink<&TOMFormatStr::inString>(0, RecordValue),
          MakePointLink<&TOMFormatStr::inString>(0, UninstallFolder)});
  ProductFolderMaker->Guarded = true;
  ProductFolderMaker->outCreate = MakePointLink<&TOMHub::inDo>(0, FolderHub);
  SetProductPath(*ProductFolderPath, "", {folder}, MakePointLink<&TOMDir::inCreate>(0, ProductFolderMaker));
  FolderReader->getData = MakePointLink<&TOMEditMulti::getData>(0, EditMulti);
  SetBridge({MakePointLink<&TOMFormatStr::inString>(0, ProductFolderPath)}, {folder});
}
