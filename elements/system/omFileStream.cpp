#include "omFileStream.h"

#include <windows.h>

#include "InstallLog.h"
#include "Paths.h"

namespace {

void ShowStreamError(const wchar_t* text) {
  MessageBoxW(reinterpret_cast<HWND>(MainWindowHandle()), text, L"File stream Error", MB_OK);
}

} // namespace

void TOMFileStream::inOpen(TData& value, uint16_t) {
  CloseStream();
  const std::string name = ReadPointString(value, getFileName, FileName);
  switch (Mode) {
  case fmReadWrite: Stream = OpenReadWriteStream(name); break;
  case fmWrite: Stream = OpenWriteStream(name); break;
  default:
    if (!FileExists(name)) {
      ShowStreamError(L"File name not found!");
      return;
    }
    Stream = OpenReadStream(name);
    break;
  }
  FOpenName = name;
  // A file that was to be written but could not be opened; the stream stays
  // and moves nothing, as before.
  if (Stream->Kind() != TByteStream::skReadFile && !Stream->IsOpen()) InstallLog().Add(name, Stream->Error());
  FireStream(outOpen, Stream.get());
}

void TOMFileStream::inWrite(TData& value, uint16_t index) {
  if (!Stream && AutoOpen) inOpen(value, index);
  if (Stream && value.Kind == dkStream && value.StreamValue) {
    if (Mode == fmRead) {
      ShowStreamError(L"Please set Mode property to Write");
    } else {
      // The whole source, wherever its position stood.
      TByteStream& source = *value.StreamValue;
      source.SetPosition(0);
      int64_t size = source.Size();
      // A failed open is already recorded; here only a write that fell short.
      if (Stream->CopyFrom(source, size) != size && Stream->IsOpen())
        InstallLog().Add(FOpenName, Stream->Error() ? Stream->Error() : ERROR_WRITE_FAULT);
    }
  }
  if (Stream && AutoOpen) CloseStream();
}

void TOMFileStream::inClose(TData&, uint16_t) { CloseStream(); }

void TOMFileStream::CloseStream() {
  if (!Stream) return;
  // A written file takes its place only now: recorded when it could not.
  const uint32_t error = Stream->Close();
  if (error != 0 && Stream->Kind() == TByteStream::skWriteFile) InstallLog().Add(FOpenName, error);
  else if (error == 0 && Stream->Kind() != TByteStream::skReadFile) InstallLog().Wrote(FOpenName);
  Stream.reset();
}
