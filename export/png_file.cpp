#include "export/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "wad/atomic_file.h"
#include "wad/texture_pages.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

// Where libpng's output goes, and what went wrong. libpng reports errors by
// longjmp, which must not cross C++ objects with destructors; so the
// callbacks only record, and every C++ object lives outside encodeRows().
struct PngSink {
  std::vector<std::uint8_t> bytes;
  bool outOfMemory = false;
  char message[128] = "";
};

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  try {
    sink->bytes.insert(sink->bytes.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    sink->outOfMemory = true;
  }
  if (sink->outOfMemory) png_error(png, "out of memory while encoding");
}

void flushNothing(png_structp) {}

void recordError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
  std::snprintf(sink->message, sizeof sink->message, "%s", message);
  png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Runs libpng over the prepared rows. Holds no C++ object with a destructor,
// so libpng's longjmp on error leaves nothing behind. Returns false on error.
bool encodeRows(PngSink& sink, int width, int height, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, recordError, ignoreWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &sink, appendBytes, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb) {
  const std::size_t pixels = static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0);
  if (width <= 0 || height <= 0 || rgb.size() != pixels * 3) {
    throw WadError(kOutOfMemory, "cannot encode a " + std::to_string(width) + " x " + std::to_string(height) +
                                     " image from " + std::to_string(rgb.size()) + " bytes");
  }
  std::vector<std::uint8_t> rgba(pixels * 4);
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t r = rgb[i * 3], g = rgb[i * 3 + 1], b = rgb[i * 3 + 2];
    rgba[i * 4] = r;
    rgba[i * 4 + 1] = g;
    rgba[i * 4 + 2] = b;
    rgba[i * 4 + 3] = IsColourKey(r, g, b) ? 0 : 255;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = rgba.data() + y * static_cast<std::size_t>(width) * 4;

  PngSink sink;
  if (!encodeRows(sink, width, height, rows.data())) {
    throw WadError(kOutOfMemory, std::string("cannot encode the PNG image: ") + sink.message);
  }
  return std::move(sink.bytes);
}

void WritePngFile(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgb) {
  std::vector<std::uint8_t> png;
  try {
    png = EncodePng(width, height, rgb);
  } catch (const WadError& e) {
    throw WadError(e.number(), e.description(), path.string());
  }
  AtomicFile file(path);
  file.write(png);
  file.commit();
}

}  // namespace tarnlow
