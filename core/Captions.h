#pragma once
// The window captions that show the position in the file list.
#include <cstdint>
#include <string>

// "Pixolet [flower.jpg : 3/12]" for index 2 of 12.
std::string ViewerCaptionText(const std::string& text, int32_t currentIndex, int32_t fileCount);
// "ｺﾝﾄﾛｰﾙ [3/12]" for index 2 of 12.
std::string ControlCaptionText(int32_t currentIndex, int32_t fileCount);
