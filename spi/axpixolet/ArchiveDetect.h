#pragma once
// Which files the archive plug-in takes: told by their first bytes, and for
// ISO 9660 images (whose mark lies 32 KB in) by the extension.
#include <cstdint>
#include <span>
#include <string_view>

namespace spi {

bool IsArchive(std::span<const uint8_t> head, std::string_view path);

}  // namespace spi
