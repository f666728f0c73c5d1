#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "wad/byte_reader.h"
#include "wad/byte_writer.h"
#include "wad/bytes.h"
#include "wad/wad_document.h"

namespace tarnlow::fuzz {

// How fuzz_anim reads its input, shared with the seed maker so that seeds
// start from animated documents:
//   8 bytes   counts: moveables (mod 9), animations, state changes,
//             dispatches, mesh pointers (each mod 33), command words,
//             mesh-tree words (each a byte)
//   2 bytes   frame words (mod 8193)
//   records   of each section in that order, as in the WAD file
//   the rest  MeshData (a zero byte is added when its length is odd)
// Bytes missing from the head read as zero. Texture data is one page and
// one texture-info record, so that the checks of the texture section run.
struct AnimFuzzInput {
  static constexpr std::size_t kMaxRecords = 32;
  static constexpr std::size_t kMaxMoveables = 8;
  static constexpr std::size_t kMaxFrameWords = 8192;
  // Meshes per object are folded into -64..64: every pose touches each.
  static constexpr int kMeshCountFold = 65;

  std::vector<MoveableRecord> moveables;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int32_t> pointers;
  std::vector<std::int16_t> commands;
  std::vector<std::int32_t> meshTrees;
  std::vector<std::int16_t> frames;
  Bytes meshData;

  static AnimFuzzInput Decode(std::span<const std::uint8_t> bytes) {
    AnimFuzzInput in;
    ByteReader r(bytes, PastEnd::ReadsZero);
    const std::size_t moveables = r.u8() % (kMaxMoveables + 1);
    const std::size_t animations = r.u8() % (kMaxRecords + 1);
    const std::size_t stateChanges = r.u8() % (kMaxRecords + 1);
    const std::size_t dispatches = r.u8() % (kMaxRecords + 1);
    const std::size_t pointers = r.u8() % (kMaxRecords + 1);
    const std::size_t commands = r.u8();
    const std::size_t meshTrees = r.u8();
    const std::size_t frames = r.u16() % (kMaxFrameWords + 1);
    for (std::size_t i = 0; i < moveables; ++i) {
      MoveableRecord m = MoveableRecord::decode(r);
      m.NumMeshes = static_cast<std::int16_t>(m.NumMeshes % kMeshCountFold);
      in.moveables.push_back(m);
    }
    for (std::size_t i = 0; i < animations; ++i) in.animations.push_back(AnimationRecord::decode(r));
    for (std::size_t i = 0; i < stateChanges; ++i) in.stateChanges.push_back(StateChangeRecord::decode(r));
    for (std::size_t i = 0; i < dispatches; ++i) in.dispatches.push_back(AnimDispatchRecord::decode(r));
    for (std::size_t i = 0; i < pointers; ++i) in.pointers.push_back(r.i32());
    for (std::size_t i = 0; i < commands; ++i) in.commands.push_back(r.i16());
    for (std::size_t i = 0; i < meshTrees; ++i) in.meshTrees.push_back(r.i32());
    for (std::size_t i = 0; i < frames; ++i) in.frames.push_back(r.i16());
    if (r.position() < bytes.size()) in.meshData.assign(bytes.begin() + static_cast<std::ptrdiff_t>(r.position()), bytes.end());
    if (in.meshData.size() % 2 != 0) in.meshData.push_back(0);
    return in;
  }

  // The input bytes of `document`'s sections; the caller keeps every
  // section within the limits above.
  static Bytes EncodeDocument(const WadDocument& d) {
    Bytes out;
    ByteWriter w(out);
    for (std::size_t count : {d.Moveables.size(), d.Animations.size(), d.StateChanges.size(),
                              d.AnimDispatches.size(), d.MeshPointers.size(), d.AnimCommands.size(),
                              d.MeshTrees.size()}) {
      w.u8(static_cast<std::uint8_t>(count));
    }
    w.u16(static_cast<std::uint16_t>(d.Frames.size()));
    for (std::size_t i = 0; i < d.Moveables.size(); ++i) d.Moveables[i].encode(w);
    for (std::size_t i = 0; i < d.Animations.size(); ++i) d.Animations[i].encode(w);
    for (std::size_t i = 0; i < d.StateChanges.size(); ++i) d.StateChanges[i].encode(w);
    for (std::size_t i = 0; i < d.AnimDispatches.size(); ++i) d.AnimDispatches[i].encode(w);
    for (std::size_t i = 0; i < d.MeshPointers.size(); ++i) w.i32(d.MeshPointers[i]);
    for (std::size_t i = 0; i < d.AnimCommands.size(); ++i) w.i16(d.AnimCommands[i]);
    for (std::size_t i = 0; i < d.MeshTrees.size(); ++i) w.i32(d.MeshTrees[i]);
    for (std::size_t i = 0; i < d.Frames.size(); ++i) w.i16(d.Frames[i]);
    w.bytes(d.MeshData);
    return out;
  }

  WadDocument Document() const {
    WadDocument d;
    const auto set = [](std::int32_t& count, auto& array, const auto& records) {
      using T = typename std::decay_t<decltype(array)>::value_type;
      count = static_cast<std::int32_t>(records.size());
      array = RecordArray<T>::fromRecords(std::span<const T>(records));
    };
    set(d.NumMoveables, d.Moveables, moveables);
    set(d.NumAnimations, d.Animations, animations);
    set(d.NumStateChanges, d.StateChanges, stateChanges);
    set(d.NumAnimDispatches, d.AnimDispatches, dispatches);
    set(d.NumMeshPointers, d.MeshPointers, pointers);
    set(d.NumAnimCommands, d.AnimCommands, commands);
    set(d.NumMeshTrees, d.MeshTrees, meshTrees);
    set(d.NumFrames, d.Frames, frames);
    d.NumMeshData = static_cast<std::int32_t>(meshData.size() / 2);
    d.MeshData = meshData;
    d.NumTextData = 256 * 768;
    d.TextData = RecordArray<TextureRow>(256, Bytes{});
    d.NumTextInfo = 1;
    d.TextInfo = RecordArray<TextInfoRecord>(1, Bytes{0, 0, 0, 0, 0, 31, 0, 31});
    return d;
  }
};

}  // namespace tarnlow::fuzz
