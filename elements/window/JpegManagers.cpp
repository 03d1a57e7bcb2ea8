#include "JpegManagers.h"

#include <cstring>

extern "C" {
#include <jerror.h>
}

namespace {

// The codec's fatal errors jump back to the call that started the codec
// instead of ending the process; its warnings are counted, not shown. The
// whole manager is this one: the codec's standard manager would bring its
// message texts, which nothing here ever shows.
void ErrorExit(j_common_ptr codec) { longjmp(reinterpret_cast<TErrorManager*>(codec->err)->Escape, 1); }
void EmitMessage(j_common_ptr codec, int level) {
  if (level < 0) ++codec->err->num_warnings;
}
void OutputMessage(j_common_ptr) {}
void FormatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorManager(j_common_ptr codec) {
  codec->err->num_warnings = 0;
  codec->err->msg_code = 0;
}

// Past the held bytes' end the codec sees an end-of-image marker, so a
// truncated file ends in an error or a short image, never a read beyond the
// block.
const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr codec) {
  WARNMS(codec, JWRN_JPEG_EOF);
  codec->src->next_input_byte = EndOfImage;
  codec->src->bytes_in_buffer = sizeof EndOfImage;
  return TRUE;
}
void SkipInputData(j_decompress_ptr codec, long count) {
  if (count <= 0) return;
  while (count > long(codec->src->bytes_in_buffer)) {
    count -= long(codec->src->bytes_in_buffer);
    FillInputBuffer(codec);
  }
  codec->src->next_input_byte += count;
  codec->src->bytes_in_buffer -= size_t(count);
}
void TermSource(j_decompress_ptr) {}

} // namespace

jpeg_error_mgr* InstallErrorManager(TErrorManager& manager) {
  jpeg_error_mgr* errors = &manager.Public;
  std::memset(errors, 0, sizeof *errors); // no tracing, no warnings yet, no message table
  errors->error_exit = ErrorExit;
  errors->emit_message = EmitMessage;
  errors->output_message = OutputMessage;
  errors->format_message = FormatMessage;
  errors->reset_error_mgr = ResetErrorManager;
  return errors;
}

void AttachMemorySource(jpeg_decompress_struct& codec, jpeg_source_mgr& source, const uint8_t* bytes,
                        size_t size) {
  source.init_source = InitSource;
  source.fill_input_buffer = FillInputBuffer;
  source.skip_input_data = SkipInputData;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = TermSource;
  source.next_input_byte = bytes;
  source.bytes_in_buffer = size;
  codec.src = &source;
}
