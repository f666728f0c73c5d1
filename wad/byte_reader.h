#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tarnlow {

// What a read beyond the last byte does.
enum class PastEnd {
  ReadsZero,  // missing bytes read as zero (how the document files behave)
  IsError,    // the reader remembers that it overran; missing bytes read as zero
};

// Little-endian decoding over a byte span. Values are assembled from single
// bytes, so the host's byte order and alignment never matter.
//
// With PastEnd::IsError the reader never throws: it sets overran() and goes
// on returning zeros, and the caller checks overran() (or canRead() before
// allocating) to turn that into its own failure.
class ByteReader {
 public:
  ByteReader(std::span<const std::uint8_t> bytes, PastEnd policy, std::size_t position = 0) noexcept
      : bytes_(bytes), policy_(policy), position_(position) {}

  std::size_t position() const noexcept { return position_; }
  std::size_t size() const noexcept { return bytes_.size(); }
  std::size_t remaining() const noexcept {
    return position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  }
  bool canRead(std::size_t count) const noexcept { return count <= remaining(); }
  bool overran() const noexcept { return overran_; }
  PastEnd policy() const noexcept { return policy_; }

  std::uint8_t u8() noexcept {
    std::uint8_t b = 0;
    bytes({&b, 1});
    return b;
  }
  std::uint16_t u16() noexcept {
    // The common case, two bytes at hand, skips the copy and its checks.
    if (remaining() >= 2) {
      const std::uint8_t* b = bytes_.data() + position_;
      position_ += 2;
      return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint8_t b[2];
    bytes(b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  }
  std::int16_t i16() noexcept { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32() noexcept {
    std::uint8_t b[4];
    bytes(b);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }
  std::int32_t i32() noexcept { return static_cast<std::int32_t>(u32()); }

  // Copies out.size() bytes; the part beyond the end is zero-filled.
  void bytes(std::span<std::uint8_t> out) noexcept {
    const std::size_t available = std::min(out.size(), remaining());
    if (available > 0) std::memcpy(out.data(), bytes_.data() + position_, available);
    if (available < out.size()) {
      std::memset(out.data() + available, 0, out.size() - available);
      overran_ = true;
    }
    advance(out.size());
  }

  void skip(std::size_t count) noexcept {
    if (count > remaining()) overran_ = true;
    advance(count);
  }

 private:
  void advance(std::size_t count) noexcept {
    // Saturate rather than wrap: a position past the end stays past the end.
    position_ = count > SIZE_MAX - position_ ? SIZE_MAX : position_ + count;
  }

  std::span<const std::uint8_t> bytes_;
  PastEnd policy_;
  std::size_t position_;
  bool overran_ = false;
};

}  // namespace tarnlow
