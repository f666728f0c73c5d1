#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "mesh/face_textures.h"
#include "wad/bytes.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The texture pages and texture-info records of a WAD being built: the
// target's records stay where they are, and rectangles brought from other
// WADs are shared with a pixel-equal one or copied into free space.
class TextureSpace {
 public:
  // Starts from `infos` (kept in this order, at these indices) and the
  // pages of `rows` (texture rows as a document stores them, 768 bytes each;
  // a last page short of 256 rows is made whole when a rectangle is added).
  TextureSpace(std::vector<TextInfoRecord> infos, Bytes rows);

  struct Placed {
    std::size_t index = 0;  // of the record in infos()
    bool shared = false;    // pixel-equal to a rectangle already here
  };
  // The record for rectangle `info` of `from`: an existing one when its
  // pixels and size are equal, else a new record over a copy of its pixels,
  // in the first free place of a page (a new page when none has room).
  // Nothing, with `why` set, when the rectangle lies off its page or the
  // source has no such record or page.
  std::optional<Placed> place(const WadDocument& from, std::size_t info, std::string& why);

  const std::vector<TextInfoRecord>& infos() const { return infos_; }
  const Bytes& rows() const { return rows_; }
  // The rows, moved out: the space is done with.
  Bytes takeRows() { return std::move(rows_); }

 private:
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
  };
  // The pixels of a rectangle, row after row.
  static Bytes pixelsOf(const Bytes& rows, std::size_t page, const Rect& r);
  std::size_t pageCount() const { return (rows_.size() / 768 + 255) / 256; }
  void index(std::size_t info);
  void markUsed(std::size_t page, const Rect& r);
  std::optional<std::pair<std::size_t, Rect>> freePlace(int width, int height);

  std::vector<TextInfoRecord> infos_;
  Bytes rows_;
  // Records by a hash of their size and pixels, for sharing.
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> byPixels_;
  std::size_t indexed_ = 0;  // infos_ before this are in byPixels_
  // Per page, one flag per pixel that some record's rectangle covers.
  std::vector<std::vector<std::uint8_t>> used_;
};

}  // namespace tarnlow
