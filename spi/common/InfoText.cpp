#include "spi/common/InfoText.h"

#include <algorithm>
#include <cstring>

namespace spi {

int32_t CopyInfoText(std::span<const char* const> texts, int32_t infoNumber, char* buffer, int32_t size) {
  if (infoNumber < 0 || static_cast<size_t>(infoNumber) >= texts.size() || !buffer || size <= 0) return 0;
  const char* text = texts[static_cast<size_t>(infoNumber)];
  const size_t length = std::min(std::strlen(text), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return static_cast<int32_t>(length);
}

}  // namespace spi
