#include "omMultiElement_4DC2A30.h"

#include "Resources.h"

TClassMultiElement_4DC2A30::TClassMultiElement_4DC2A30(TWindowObject*) {
  // The elements, in declaration order, the bridge first.
  EditMulti = std::make_unique<TOMEditMulti>();
  FolderReader = std::make_unique<TOMGetData>();
  ProductFolderPath = std::make_unique<TOMFormatStr>();
  ProductFolderMaker = std::make_unique<TOMDir>();
  FolderHub = std::make_unique<TOMHub>();
  ProgramName = std::make_unique<TOMMemory>();
  ProgramPath = std::make_unique<TOMFormatStr>();
  ProgramHub = std::make_unique<TOMHub>();
  ProgramPathMemory = std::make_unique<TOMMemory>();
  OpenHub = std::make_unique<TOMHub>();
  ProgramData = std::make_unique<TOMMemoryStream>();
  StreamSender = std::make_unique<TOMDoData>();
  CopyHub = std::make_unique<TOMHub>();
  ProgramFile = std::make_unique<TOMFileStream>();
  RecordPath = std::make_unique<TOMFormatStr>();
  RecordPathMemory = std::make_unique<TOMMemory>();
  RecordValue = std::make_unique<TOMFormatStr>();
  LocationRecord = std::make_unique<TOMini>();

  // Settings and links, in reverse declaration order; each link is stored in
  // the element that fires or reads it.

  // The record file comes from the record path memory; the property is only
  // its fallback.
  LocationRecord->FileName = "dir.ini";
  LocationRecord->Section = "info";
  LocationRecord->Key = "dir";
  LocationRecord->ValueType = 1;
  LocationRecord->getFileName = MakePointLink<&TOMMemory::varValue>(0, RecordPathMemory.get());

  // The recorded value keeps its trailing backslash.
  RecordValue->SetPointCount(1);
  RecordValue->Mask = "%1\\Varkelo\\";
  RecordValue->SkipInserted = true;
  RecordValue->getStr[0] = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());
  RecordValue->outString = MakePointLink<&TOMini::inWrite>(0, LocationRecord.get());

  RecordPath->SetPointCount(1);
  RecordPath->Mask = "%1\\Varkelo\\dir.ini";
  RecordPath->SkipInserted = true;
  RecordPath->getStr[0] = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());
  RecordPath->outString = MakePointLink<&TOMMemory::inValue>(0, RecordPathMemory.get());

  ProgramFile->FileName.clear();
  ProgramFile->Mode = TOMFileStream::fmWrite;
  ProgramFile->AutoOpen = 0;
  ProgramFile->getFileName = MakePointLink<&TOMMemory::varValue>(0, ProgramPathMemory.get());

  CopyHub->SetOutputCount(2);
  CopyHub->outStep[0] = MakePointLink<&TOMFileStream::inWrite>(0, ProgramFile.get());
  CopyHub->outStep[1] = MakePointLink<&TOMFileStream::inClose>(0, ProgramFile.get());

  StreamSender->getData = MakePointLink<&TOMMemoryStream::varStream>(0, ProgramData.get());
  StreamSender->outEventData = MakePointLink<&TOMHub::inDo>(0, CopyHub.get());

  ProgramData->SetStream(LoadResourceStream("STREAM0"));

  OpenHub->SetOutputCount(2);
  OpenHub->outStep[0] = MakePointLink<&TOMFileStream::inOpen>(0, ProgramFile.get());
  OpenHub->outStep[1] = MakePointLink<&TOMDoData::inDo>(0, StreamSender.get());

  ProgramPathMemory->outData = MakePointLink<&TOMHub::inDo>(0, OpenHub.get());

  // The installation sequence runs inside outStep[1]: the program file is
  // complete and closed before it starts.
  ProgramHub->SetOutputCount(2);
  ProgramHub->outStep[0] = MakePointLink<&TOMMemory::inValue>(0, ProgramPathMemory.get());
  ProgramHub->outStep[1] = MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti.get());

  ProgramPath->SetPointCount(2);
  ProgramPath->Mask = "%1\\Varkelo\\%2";
  ProgramPath->SkipInserted = true;
  ProgramPath->getStr[0] = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());
  ProgramPath->getStr[1] = MakePointLink<&TOMMemory::varValue>(0, ProgramName.get());
  ProgramPath->outString = MakePointLink<&TOMHub::inDo>(0, ProgramHub.get());

  ProgramName->SetDefault(StringData("Zelcap2-1.exe"));

  // The record is written last, after the whole installation sequence.
  FolderHub->SetOutputCount(3);
  FolderHub->outStep[0] = MakePointLink<&TOMFormatStr::inString>(0, ProgramPath.get());
  FolderHub->outStep[1] = MakePointLink<&TOMFormatStr::inString>(0, RecordPath.get());
  FolderHub->outStep[2] = MakePointLink<&TOMFormatStr::inString>(0, RecordValue.get());

  ProductFolderMaker->outCreate = MakePointLink<&TOMHub::inDo>(0, FolderHub.get());

  ProductFolderPath->SetPointCount(1);
  ProductFolderPath->Mask = "%1\\Varkelo";
  ProductFolderPath->SkipInserted = true;
  ProductFolderPath->getStr[0] = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());
  ProductFolderPath->outString = MakePointLink<&TOMDir::inCreate>(0, ProductFolderMaker.get());

  FolderReader->getData = MakePointLink<&TOMEditMulti::getData>(0, EditMulti.get());

  // The bridge last.
  EditMulti->SetWorkCount(1);
  EditMulti->SetVarCount(1);
  EditMulti->WorkLinks[0] = MakePointLink<&TOMFormatStr::inString>(0, ProductFolderPath.get());
  EditMulti->VarLinks[0] = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());
  EditMulti->Container = this;
}

TClassMultiElement_4DC2A30::~TClassMultiElement_4DC2A30() {
  FreeInOrder(EditMulti, FolderReader, ProductFolderPath, ProductFolderMaker, FolderHub, ProgramName, ProgramPath,
              ProgramHub, ProgramPathMemory, OpenHub, ProgramData, StreamSender, CopyHub, ProgramFile, RecordPath,
              RecordPathMemory, RecordValue, LocationRecord);
}
