#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tarnlow {

// An image given as RGB bytes (row after row, three bytes a pixel) as the
// bytes of an 8-bit RGBA PNG file, the magenta colour key (255, 0, 255) fully
// transparent and every other pixel opaque. Throws WadError kOutOfMemory
// (number 7, with libpng's own message) when encoding fails or `rgb` does
// not hold width x height pixels.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

// Writes an image given as RGB bytes (row after row, three bytes a pixel) as
// an 8-bit RGBA PNG file in which the magenta colour key (255, 0, 255) is
// fully transparent and every other pixel opaque.
//
// The file is encoded in memory first and then written through an atomic
// file, so a failure leaves an existing file at `path` as it was.
// Throws WadError: errno and its text when the file cannot be written;
// kOutOfMemory when encoding fails or `rgb` does not hold width x height
// pixels (number 7, with libpng's own message).
void WritePngFile(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgb);

}  // namespace tarnlow
