#include "edit/texture_space.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace tarnlow {

namespace {

constexpr std::size_t kRowBytes = 768;
constexpr int kPageSide = 256;

std::uint64_t mix(std::uint64_t h, std::uint64_t v) { return (h ^ v) * 1099511628211ull; }

std::uint64_t hashRow(const std::uint8_t* row, std::size_t bytes) {
  return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(row), bytes));
}

// A rectangle's size and pixels, `row(y)` giving the width * 3 bytes of its
// row y wherever they lie.
template <typename Row>
std::uint64_t hashOf(int width, int height, Row row) {
  std::uint64_t h = mix(mix(1469598103934665603ull, static_cast<std::uint64_t>(width)), static_cast<std::uint64_t>(height));
  for (int y = 0; y < height; ++y) h = mix(h, hashRow(row(y), static_cast<std::size_t>(width) * 3));
  return h;
}

std::uint64_t hashOf(int width, int height, const Bytes& pixels) {
  return hashOf(width, height, [&](int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3; });
}

// Pages a new rectangle may go to are filled with the colour key, as a page
// nobody drew on is.
void appendEmptyRows(Bytes& rows, std::size_t count) {
  for (std::size_t i = 0; i < count * 256; ++i) rows.insert(rows.end(), {255, 0, 255});
}

}  // namespace

TextureSpace::TextureSpace(std::vector<TextInfoRecord> infos, Bytes rows)
    : infos_(std::move(infos)), rows_(std::move(rows)) {}

Bytes TextureSpace::pixelsOf(const Bytes& rows, std::size_t page, const Rect& r) {
  Bytes pixels;
  pixels.reserve(static_cast<std::size_t>(r.width * r.height) * 3);
  for (int y = r.y; y < r.y + r.height; ++y) {
    const std::size_t at = (page * kPageSide + static_cast<std::size_t>(y)) * kRowBytes + static_cast<std::size_t>(r.x) * 3;
    const std::size_t end = at + static_cast<std::size_t>(r.width) * 3;
    // A row the pages lack reads as zero, as the document reads it.
    const std::size_t held = at < rows.size() ? std::min(end, rows.size()) : at;
    if (held > at) pixels.insert(pixels.end(), rows.begin() + static_cast<std::ptrdiff_t>(at), rows.begin() + static_cast<std::ptrdiff_t>(held));
    pixels.resize(pixels.size() + (end - held), 0);
  }
  return pixels;
}

void TextureSpace::index(std::size_t info) {
  const TextureInfo t = DecodeTextureInfo(infos_[info]);
  const Rect r{t.X, t.Y, t.Width + 1, t.Height + 1};
  if (r.x + r.width > kPageSide || r.y + r.height > kPageSide || t.Page >= pageCount()) return;
  const auto rowAt = [&](int y) {
    return (t.Page * kPageSide + static_cast<std::size_t>(r.y + y)) * kRowBytes + static_cast<std::size_t>(r.x) * 3;
  };
  if (rowAt(r.height - 1) + static_cast<std::size_t>(r.width) * 3 > rows_.size()) {
    byPixels_[hashOf(r.width, r.height, pixelsOf(rows_, t.Page, r))].push_back(info);
    return;
  }
  // Hashed where they lie: thousands of records are indexed for a merge.
  const std::uint64_t h = hashOf(r.width, r.height, [&](int y) { return rows_.data() + rowAt(y); });
  byPixels_[h].push_back(info);
}

void TextureSpace::markUsed(std::size_t page, const Rect& r) {
  std::vector<std::uint8_t>& flags = used_[page];
  for (int y = r.y; y < std::min(r.y + r.height, kPageSide); ++y) {
    for (int x = r.x; x < std::min(r.x + r.width, kPageSide); ++x) flags[static_cast<std::size_t>(y * kPageSide + x)] = 1;
  }
}

std::optional<std::pair<std::size_t, TextureSpace::Rect>> TextureSpace::freePlace(int width, int height) {
  if (used_.empty()) {
    // The last page is made whole so that a rectangle never lands in rows
    // the file does not hold.
    const std::size_t rows = rows_.size() / kRowBytes;
    if (rows % kPageSide != 0) appendEmptyRows(rows_, kPageSide - rows % kPageSide);
    used_.assign(pageCount(), std::vector<std::uint8_t>(kPageSide * kPageSide, 0));
    for (const TextInfoRecord& record : infos_) {
      const TextureInfo t = DecodeTextureInfo(record);
      if (t.Page < used_.size()) markUsed(t.Page, {t.X, t.Y, t.Width + 1, t.Height + 1});
    }
  }
  // The column of a covered pixel inside the rectangle at (x0, y0), or -1
  // when it is all free: the search goes on right of that column.
  const auto blocker = [&](const std::vector<std::uint8_t>& flags, int x0, int y0) {
    for (int y = y0; y < y0 + height; ++y) {
      for (int x = x0 + width - 1; x >= x0; --x) {
        if (flags[static_cast<std::size_t>(y * kPageSide + x)] != 0) return x;
      }
    }
    return -1;
  };
  for (std::size_t page = 0; page < used_.size(); ++page) {
    for (int y = 0; y + height <= kPageSide; ++y) {
      for (int x = 0; x + width <= kPageSide;) {
        const int covered = blocker(used_[page], x, y);
        if (covered < 0) return std::pair(page, Rect{x, y, width, height});
        x = covered + 1;
      }
    }
  }
  appendEmptyRows(rows_, kPageSide);
  used_.emplace_back(kPageSide * kPageSide, 0);
  return std::pair(used_.size() - 1, Rect{0, 0, width, height});
}

std::optional<TextureSpace::Placed> TextureSpace::place(const WadDocument& from, std::size_t info, std::string& why) {
  if (info >= from.TextInfo.size()) {
    why = "texture record " + std::to_string(info) + " is outside the source's " +
          std::to_string(from.TextInfo.size()) + " records";
    return std::nullopt;
  }
  const TextInfoRecord record = from.TextInfo[info];
  const TextureInfo t = DecodeTextureInfo(record);
  const Rect r{t.X, t.Y, t.Width + 1, t.Height + 1};
  const std::size_t sourcePages = (from.TextData.size() + kPageSide - 1) / kPageSide;
  if (r.x + r.width > kPageSide || r.y + r.height > kPageSide || t.Page >= sourcePages) {
    why = "texture record " + std::to_string(info) + " lies off its page";
    return std::nullopt;
  }
  while (indexed_ < infos_.size()) index(indexed_++);
  const Bytes pixels = pixelsOf(from.TextData.storedBytes(), t.Page, r);
  const std::uint64_t hash = hashOf(r.width, r.height, pixels);
  if (const auto found = byPixels_.find(hash); found != byPixels_.end()) {
    for (std::size_t candidate : found->second) {
      const TextureInfo c = DecodeTextureInfo(infos_[candidate]);
      if (c.Width + 1 == r.width && c.Height + 1 == r.height &&
          pixelsOf(rows_, c.Page, {c.X, c.Y, r.width, r.height}) == pixels) {
        return Placed{candidate, true};
      }
    }
  }
  const auto [page, at] = *freePlace(r.width, r.height);
  for (int y = 0; y < r.height; ++y) {
    const std::size_t to = (page * kPageSide + static_cast<std::size_t>(at.y + y)) * kRowBytes + static_cast<std::size_t>(at.x) * 3;
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * r.width * 3, r.width * 3,
                rows_.begin() + static_cast<std::ptrdiff_t>(to));
  }
  markUsed(page, at);
  TextInfoRecord placed = record;
  placed.Bytes[0] = static_cast<std::uint8_t>(at.x);
  placed.Bytes[1] = static_cast<std::uint8_t>(at.y);
  placed.Bytes[2] = static_cast<std::uint8_t>(page & 0xFF);
  placed.Bytes[3] = static_cast<std::uint8_t>(page >> 8);
  infos_.push_back(placed);
  byPixels_[hash].push_back(infos_.size() - 1);
  indexed_ = infos_.size();
  return Placed{infos_.size() - 1, false};
}

}  // namespace tarnlow
