#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "wad/byte_reader.h"
#include "wad/byte_writer.h"
#include "wad/bytes.h"

namespace tarnlow {

// How one record of a section is laid out in the file. A record type either
// provides kFileSize, decode(ByteReader&) and encode(ByteWriter&) itself, or
// gets a specialisation here (the plain integer sections).
template <typename T>
struct RecordCodec {
  static constexpr std::size_t kSize = T::kFileSize;
  static T decode(ByteReader& r) { return T::decode(r); }
  static void encode(const T& v, ByteWriter& w) { v.encode(w); }
};

template <>
struct RecordCodec<std::int16_t> {
  static constexpr std::size_t kSize = 2;
  static std::int16_t decode(ByteReader& r) { return r.i16(); }
  static void encode(std::int16_t v, ByteWriter& w) { w.i16(v); }
};

template <>
struct RecordCodec<std::int32_t> {
  static constexpr std::size_t kSize = 4;
  static std::int32_t decode(ByteReader& r) { return r.i32(); }
  static void encode(std::int32_t v, ByteWriter& w) { w.i32(v); }
};

// The records of one section, held as their file bytes and decoded on access.
//
// The array may hold fewer bytes than size() records need: the records of a
// section that ran past the end of a short file. The missing bytes read as
// zero, exactly as the file reads them, without being allocated, so a
// 100-byte file that claims millions of records costs no memory.
template <typename T>
class RecordArray {
 public:
  using value_type = T;
  static constexpr std::size_t kRecordSize = RecordCodec<T>::kSize;

  RecordArray() = default;

  // `stored` holds the first bytes of the section; it is cut to the section's
  // length when longer.
  RecordArray(std::size_t count, Bytes stored) : count_(count), stored_(std::move(stored)) {
    if (stored_.size() > byteSize()) stored_.resize(byteSize());
  }

  static RecordArray fromRecords(std::span<const T> records) {
    Bytes bytes;
    bytes.reserve(records.size() * kRecordSize);
    ByteWriter w(bytes);
    for (const T& r : records) RecordCodec<T>::encode(r, w);
    return RecordArray(records.size(), std::move(bytes));
  }
  static RecordArray fromRecords(std::initializer_list<T> records) {
    return fromRecords(std::span<const T>(records.begin(), records.size()));
  }

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }
  std::size_t byteSize() const noexcept { return count_ * kRecordSize; }

  // Decodes record i. Precondition: i < size().
  T operator[](std::size_t i) const {
    ByteReader r(stored_, PastEnd::ReadsZero, i * kRecordSize);
    return RecordCodec<T>::decode(r);
  }
  // Decodes record i; throws std::out_of_range when i >= size().
  T at(std::size_t i) const {
    if (i >= count_) throw std::out_of_range("record index out of range");
    return (*this)[i];
  }

  std::vector<T> toVector() const {
    std::vector<T> out;
    out.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i) out.push_back((*this)[i]);
    return out;
  }

  // The bytes held; the rest of byteSize() reads as zero.
  const Bytes& storedBytes() const noexcept { return stored_; }

  friend bool operator==(const RecordArray& a, const RecordArray& b) {
    if (a.count_ != b.count_) return false;
    const Bytes& longer = a.stored_.size() >= b.stored_.size() ? a.stored_ : b.stored_;
    const Bytes& shorter = a.stored_.size() >= b.stored_.size() ? b.stored_ : a.stored_;
    return std::equal(shorter.begin(), shorter.end(), longer.begin()) &&
           std::all_of(longer.begin() + static_cast<std::ptrdiff_t>(shorter.size()), longer.end(),
                       [](std::uint8_t b) { return b == 0; });
  }

 private:
  std::size_t count_ = 0;
  Bytes stored_;
};

}  // namespace tarnlow
