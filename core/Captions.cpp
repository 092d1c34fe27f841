#include "core/Captions.h"

// The position is shown 1-based; int64 keeps CurrentIndex + 1 from overflowing.
static std::string Position(int32_t currentIndex, int32_t fileCount) {
  return std::to_string(static_cast<int64_t>(currentIndex) + 1) + "/" + std::to_string(fileCount);
}

std::string ViewerCaptionText(const std::string& text, int32_t currentIndex, int32_t fileCount) {
  return "Pixolet [" + text + " : " + Position(currentIndex, fileCount) + "]";
}

std::string ControlCaptionText(int32_t currentIndex, int32_t fileCount) {
  return "ｺﾝﾄﾛｰﾙ [" + Position(currentIndex, fileCount) + "]";
}
