#include "tests/support/sound_builder.h"

#include "wad/byte_writer.h"

namespace tarnlow::test {

Bytes SfxBytes(const SfxParts& parts, std::size_t keepBytes) {
  Bytes out;
  ByteWriter w(out);
  for (const std::int16_t entry : parts.map) w.i16(entry);
  w.u32(parts.infoCount >= 0 ? static_cast<std::uint32_t>(parts.infoCount) : static_cast<std::uint32_t>(parts.infos.size()));
  for (const SfxInfo& info : parts.infos) {
    w.u16(info.firstSample);
    w.u8(info.volume);
    w.u8(info.range);
    w.u8(info.chance);
    w.u8(static_cast<std::uint8_t>(info.pitch));
    w.u16(info.flags);
  }
  w.u32(parts.sampleCount);
  for (const std::uint32_t index : parts.sampleIndices) w.u32(index);
  for (std::size_t i = 0; i < parts.trailingBytes; ++i) w.u8(0xAB);
  if (keepBytes < out.size()) out.resize(keepBytes);
  return out;
}

SfxParts CanonicalSfx(const std::vector<int>& slots, const std::vector<int>& counts, std::string& sam) {
  SfxParts parts;
  sam.clear();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    parts.map[static_cast<std::size_t>(slots[i])] = static_cast<std::int16_t>(i);
    parts.infos.push_back(SfxInfo{static_cast<std::uint16_t>(parts.sampleCount), static_cast<std::uint8_t>(100 + i), 10,
                                  0, static_cast<std::int8_t>(-3 * static_cast<int>(i)),
                                  static_cast<std::uint16_t>(0x2000 | (counts[i] << 2) | (i % 4))});
    for (int n = 0; n < counts[i]; ++n) {
      sam += "s" + std::to_string(slots[i]) + "_" + std::to_string(n) + ".wav\n";
      parts.sampleIndices.push_back(parts.sampleCount++);
    }
  }
  return parts;
}

}  // namespace tarnlow::test
