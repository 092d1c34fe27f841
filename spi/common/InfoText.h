#pragma once
// GetPluginInfo's texts, copied the way hosts expect whatever their buffer.
#include <cstdint>
#include <span>

namespace spi {

// Copies text `infoNumber` of `texts` into `buffer` (at most `size` bytes with
// its NUL, cut when longer) and answers the bytes copied without the NUL;
// 0 for an info number that has no text or a buffer that cannot hold one byte.
int32_t CopyInfoText(std::span<const char* const> texts, int32_t infoNumber, char* buffer, int32_t size);

}  // namespace spi
