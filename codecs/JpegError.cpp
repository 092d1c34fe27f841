#include "codecs/JpegError.h"

namespace codecs::jpeg {

namespace {

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OutputNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallErrorManager(ErrorManager& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ErrorExit;
  errors.pub.output_message = OutputNothing;
  return &errors.pub;
}

}  // namespace codecs::jpeg
