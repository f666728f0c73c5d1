#pragma once

#include <cstdint>
#include <cstring>
#include <span>

#include "wad/bytes.h"

namespace tarnlow {

// Little-endian encoding onto the end of a byte buffer, the mirror of ByteReader.
class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) noexcept : out_(out) {}

  void u8(std::uint8_t v) { append({&v, 1}); }
  void u16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    append(b);
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void u32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    append(b);
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void bytes(std::span<const std::uint8_t> v) { append(v); }

 private:
  void append(std::span<const std::uint8_t> v) {
    const std::size_t at = out_.size();
    out_.resize(at + v.size());
    if (!v.empty()) std::memcpy(out_.data() + at, v.data(), v.size());
  }

  Bytes& out_;
};

}  // namespace tarnlow
