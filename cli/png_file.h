#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace tarnlow::cli {

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

}  // namespace tarnlow::cli
