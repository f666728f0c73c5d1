#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "wad/byte_reader.h"
#include "wad/byte_writer.h"

namespace tarnlow {

// N bytes that the program carries unchanged and never looks into.
template <std::size_t N>
struct OpaqueRecord {
  static constexpr std::size_t kFileSize = N;
  std::array<std::uint8_t, N> Bytes{};

  static OpaqueRecord decode(ByteReader& r) {
    OpaqueRecord rec;
    r.bytes(rec.Bytes);
    return rec;
  }
  void encode(ByteWriter& w) const { w.bytes(Bytes); }
  friend bool operator==(const OpaqueRecord&, const OpaqueRecord&) = default;
};

using TexturePixel = OpaqueRecord<3>;
using TextInfoRecord = OpaqueRecord<8>;
using StaticMeshRecord = OpaqueRecord<32>;
// One row of a texture page: 256 pixels of 3 bytes.
using TextureRow = OpaqueRecord<768>;

struct AnimationRecord {
  static constexpr std::size_t kFileSize = 40;
  std::int32_t FrameOffset = 0;
  std::uint8_t FrameRate = 0;
  std::uint8_t FrameSize = 0;
  std::int16_t StateID = 0;
  std::array<std::uint8_t, 8> Unknown1{};
  std::array<std::uint8_t, 8> Unknown2{};
  std::int16_t FrameStart = 0;
  std::int16_t FrameEnd = 0;
  std::int16_t NextAnimation = 0;
  std::int16_t NextFrame = 0;
  std::int16_t NumStateChanges = 0;
  std::int16_t StateChange = 0;
  std::int16_t AnimCommandCount = 0;
  std::int16_t AnimCommands = 0;

  static AnimationRecord decode(ByteReader& r) {
    AnimationRecord a;
    a.FrameOffset = r.i32();
    a.FrameRate = r.u8();
    a.FrameSize = r.u8();
    a.StateID = r.i16();
    r.bytes(a.Unknown1);
    r.bytes(a.Unknown2);
    a.FrameStart = r.i16();
    a.FrameEnd = r.i16();
    a.NextAnimation = r.i16();
    a.NextFrame = r.i16();
    a.NumStateChanges = r.i16();
    a.StateChange = r.i16();
    a.AnimCommandCount = r.i16();
    a.AnimCommands = r.i16();
    return a;
  }
  void encode(ByteWriter& w) const {
    w.i32(FrameOffset);
    w.u8(FrameRate);
    w.u8(FrameSize);
    w.i16(StateID);
    w.bytes(Unknown1);
    w.bytes(Unknown2);
    w.i16(FrameStart);
    w.i16(FrameEnd);
    w.i16(NextAnimation);
    w.i16(NextFrame);
    w.i16(NumStateChanges);
    w.i16(StateChange);
    w.i16(AnimCommandCount);
    w.i16(AnimCommands);
  }
  friend bool operator==(const AnimationRecord&, const AnimationRecord&) = default;
};

struct StateChangeRecord {
  static constexpr std::size_t kFileSize = 6;
  std::int16_t StateID = 0;
  std::int16_t NumAnimDispatched = 0;
  std::int16_t AnimDispatches = 0;

  static StateChangeRecord decode(ByteReader& r) {
    StateChangeRecord s;
    s.StateID = r.i16();
    s.NumAnimDispatched = r.i16();
    s.AnimDispatches = r.i16();
    return s;
  }
  void encode(ByteWriter& w) const {
    w.i16(StateID);
    w.i16(NumAnimDispatched);
    w.i16(AnimDispatches);
  }
  friend bool operator==(const StateChangeRecord&, const StateChangeRecord&) = default;
};

struct AnimDispatchRecord {
  static constexpr std::size_t kFileSize = 8;
  std::int16_t Low = 0;
  std::int16_t High = 0;
  std::int16_t NextAnimation = 0;
  std::int16_t NextFrame = 0;

  static AnimDispatchRecord decode(ByteReader& r) {
    AnimDispatchRecord d;
    d.Low = r.i16();
    d.High = r.i16();
    d.NextAnimation = r.i16();
    d.NextFrame = r.i16();
    return d;
  }
  void encode(ByteWriter& w) const {
    w.i16(Low);
    w.i16(High);
    w.i16(NextAnimation);
    w.i16(NextFrame);
  }
  friend bool operator==(const AnimDispatchRecord&, const AnimDispatchRecord&) = default;
};

// An object of the WAD: 18 bytes in the file.
struct MoveableRecord {
  static constexpr std::size_t kFileSize = 18;
  std::int32_t ObjectID = 0;
  std::int16_t NumMeshes = 0;
  std::int16_t StartingMesh = 0;
  std::int32_t MeshTree = 0;
  std::array<std::uint8_t, 6> Unknown3{};

  static MoveableRecord decode(ByteReader& r) {
    MoveableRecord m;
    m.ObjectID = r.i32();
    m.NumMeshes = r.i16();
    m.StartingMesh = r.i16();
    m.MeshTree = r.i32();
    r.bytes(m.Unknown3);
    return m;
  }
  void encode(ByteWriter& w) const {
    w.i32(ObjectID);
    w.i16(NumMeshes);
    w.i16(StartingMesh);
    w.i32(MeshTree);
    w.bytes(Unknown3);
  }
  friend bool operator==(const MoveableRecord&, const MoveableRecord&) = default;
};

}  // namespace tarnlow
