#pragma once
// libjpeg reports an error by calling error_exit, whose default ends the
// process. Ours jumps back to the setjmp of the call that started the work:
// each such call keeps no C++ object with a destructor in its own frame, since
// longjmp skips destructors. Messages are never printed; warnings are counted
// in pub.num_warnings as usual.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace codecs::jpeg {

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so that the library's pointer to it is one to us
  std::jmp_buf escape;
};

// Points the library's error handling at `errors`; returns what goes in cinfo.err.
jpeg_error_mgr* InstallErrorManager(ErrorManager& errors);

}  // namespace codecs::jpeg
