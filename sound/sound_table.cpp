#include "sound/sound_table.h"

#include <algorithm>
#include <optional>

#include "wad/byte_reader.h"
#include "wad/byte_writer.h"
#include "wad/codepage.h"
#include "wad/file_paths.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

constexpr std::size_t kMapBytes = 2 * kSoundSlots;
constexpr std::size_t kInfoBytes = 8;

struct SoundInfo {
  std::uint16_t firstSample = 0;
  std::uint8_t volume = 0;
  std::uint8_t range = 0;
  std::uint8_t chance = 0;
  std::int8_t pitch = 0;
  std::uint16_t flags = 0;
  int samples() const { return (flags >> 2) & 0x3F; }
};

// The .sam's lines, LF-separated; a CR before the LF (a file saved by a
// Windows editor) is not part of the name. A last line without LF counts.
std::vector<std::string> samLines(std::string_view sam) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < sam.size()) {
    std::size_t end = sam.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? sam.size() : end + 1;
    if (end == std::string_view::npos) end = sam.size();
    if (end > start && sam[end - 1] == '\r') --end;
    lines.push_back(Cp1252ToUtf8(sam.substr(start, end - start)));
    start = next;
  }
  return lines;
}

std::string slotText(int slot) { return "slot " + std::to_string(slot); }

// Reads a count of `size`-byte items, or nothing when the file cannot hold
// that many (the items it does hold are then not read at all).
std::optional<std::uint32_t> countedItems(ByteReader& reader, std::size_t size) {
  const std::uint32_t count = reader.u32();
  if (reader.overran() || count > reader.remaining() / size) return std::nullopt;
  return count;
}

}  // namespace

const char* LoopModeName(LoopMode mode) {
  switch (mode) {
    case LoopMode::Normal:
      return "normal";
    case LoopMode::Wait:
      return "wait";
    case LoopMode::Restart:
      return "restart";
    case LoopMode::Looped:
      return "looped";
  }
  return "normal";
}

bool operator==(const SoundSlot& a, const SoundSlot& b) {
  if (a.volume != b.volume || a.range != b.range || a.chance != b.chance || a.pitch != b.pitch ||
      a.flags != b.flags || a.samples.size() != b.samples.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.samples.size(); ++i) {
    if (LowerCaseName(a.samples[i]) != LowerCaseName(b.samples[i])) return false;
  }
  return true;
}

const SoundSlot* SoundTable::find(int slot) const {
  const auto it = slots.find(slot);
  return it == slots.end() ? nullptr : &it->second;
}

std::size_t SoundTable::sampleCount() const {
  std::size_t count = 0;
  for (const auto& [number, slot] : slots) count += slot.samples.size();
  return count;
}

SoundFilesRead ReadSoundFiles(std::span<const std::uint8_t> sfx, std::string_view sam) {
  SoundFilesRead result;
  const std::vector<std::string> names = samLines(sam);
  result.samLines = names.size();
  const auto say = [&](SoundProblemKind kind, std::string text, int slot = -1, int line = -1) {
    result.problems.push_back(SoundProblem{kind, std::move(text), slot, line});
  };

  ByteReader reader(sfx, PastEnd::IsError);
  if (sfx.size() < kMapBytes + 4) {
    say(SoundProblemKind::SfxCutShort, "the .sfx holds " + std::to_string(sfx.size()) +
                                           " bytes, fewer than its slot map and info count (744)");
    return result;
  }
  std::vector<std::int16_t> map(kSoundSlots);
  for (std::int16_t& entry : map) entry = reader.i16();

  const std::size_t infoCountAt = reader.position();
  const std::uint32_t declaredInfos = reader.u32();
  // A file cut short keeps the infos it holds whole.
  const std::size_t infoCount = std::min<std::size_t>(declaredInfos, reader.remaining() / kInfoBytes);
  std::vector<SoundInfo> infos(infoCount);
  for (SoundInfo& info : infos) {
    info.firstSample = reader.u16();
    info.volume = reader.u8();
    info.range = reader.u8();
    info.chance = reader.u8();
    info.pitch = static_cast<std::int8_t>(reader.u8());
    info.flags = reader.u16();
  }
  std::optional<std::uint32_t> sampleCount;
  std::vector<std::uint32_t> indices;
  if (infoCount < declaredInfos) {
    say(SoundProblemKind::SfxCutShort, "the .sfx counts " + std::to_string(declaredInfos) + " sound infos at byte " +
                                           std::to_string(infoCountAt) + ", but holds " + std::to_string(infoCount));
  } else {
    const std::size_t sampleCountAt = reader.position();
    sampleCount = countedItems(reader, 4);
    if (!sampleCount) {
      say(SoundProblemKind::SfxCutShort, "the .sfx's sample indices at byte " + std::to_string(sampleCountAt) +
                                             " are missing or cut short");
    } else {
      indices.resize(*sampleCount);
      for (std::uint32_t& index : indices) index = reader.u32();
      if (reader.remaining() > 0) {
        say(SoundProblemKind::TrailingBytes, std::to_string(reader.remaining()) + " bytes after the .sfx's last field");
      }
      if (*sampleCount != names.size()) {
        say(SoundProblemKind::SampleCountDisagrees, "the .sfx counts " + std::to_string(*sampleCount) +
                                                        " samples, the .sam has " + std::to_string(names.size()) +
                                                        " lines");
      }
    }
  }

  // Canonical: the used map entries, in slot order, are 0, 1, ..., N-1, and
  // each info's samples follow the previous info's. A file cut short is
  // said as such, not also as out of order.
  bool canonical = true;
  std::uint32_t nextInfo = 0;
  std::size_t nextSample = 0;
  std::vector<bool> lineUsed(names.size(), false);
  for (int slot = 0; slot < kSoundSlots; ++slot) {
    const std::int16_t entry = map[static_cast<std::size_t>(slot)];
    if (entry == -1) continue;
    if (entry < 0 || static_cast<std::size_t>(entry) >= infos.size()) {
      say(SoundProblemKind::MapEntryPastInfos, slotText(slot) + " maps to sound info " + std::to_string(entry) +
                                                   ", outside the " + std::to_string(infos.size()) +
                                                   " infos; the slot is read as unused",
          slot);
      canonical = false;
      continue;
    }
    const SoundInfo& info = infos[static_cast<std::size_t>(entry)];
    if (static_cast<std::uint32_t>(entry) != nextInfo || info.firstSample != nextSample) canonical = false;
    ++nextInfo;
    nextSample = std::size_t{info.firstSample} + static_cast<std::size_t>(info.samples());

    SoundSlot sound{slot, info.volume, info.range, info.chance, info.pitch, info.flags, {}, {}};
    for (int i = 0; i < info.samples(); ++i) {
      const std::size_t line = std::size_t{info.firstSample} + static_cast<std::size_t>(i);
      if (line >= names.size()) {
        say(SoundProblemKind::SampleRangePastSam,
            slotText(slot) + " plays .sam lines " + std::to_string(info.firstSample) + " to " +
                std::to_string(info.firstSample + info.samples() - 1) + ", past the .sam's " +
                std::to_string(names.size()) + " lines",
            slot);
        break;
      }
      lineUsed[line] = true;
      sound.samples.push_back(names[line]);
      sound.sampleIndices.push_back(line < indices.size() ? indices[line] : 0);
    }
    result.table.slots.emplace(slot, std::move(sound));
  }
  if (sampleCount && (nextInfo != infos.size() || nextSample != *sampleCount)) canonical = false;
  if (sampleCount && !canonical && !infos.empty()) {
    say(SoundProblemKind::NotCanonical,
        "the .sfx's infos or sample ranges are not in slot order, are shared or are left over; "
        "writing the table puts them in order");
  }
  for (std::size_t line = 0; line < names.size(); ++line) {
    if (!lineUsed[line]) {
      say(SoundProblemKind::SamLineUnused, ".sam line " + std::to_string(line) + " (" + names[line] + ") is played by no slot",
          -1, static_cast<int>(line));
    }
  }
  return result;
}

SoundFiles WriteSoundFiles(const SoundTable& table) {
  SoundFiles files;
  std::vector<std::int16_t> map(kSoundSlots, -1);
  Bytes infos;
  Bytes indices;
  ByteWriter infoWriter(infos);
  ByteWriter indexWriter(indices);
  std::uint32_t sample = 0;
  std::int16_t info = 0;
  for (const auto& [number, slot] : table.slots) {
    if (number < 0 || number >= kSoundSlots) {
      throw WadError(kSubscriptOutOfRange, "sound slot " + std::to_string(number) + " is outside 0 to 369");
    }
    if (slot.samples.size() > static_cast<std::size_t>(kMaxSlotSamples)) {
      throw WadError(kSubscriptOutOfRange, slotText(number) + " plays " + std::to_string(slot.samples.size()) +
                                               " samples; a slot can name at most 63");
    }
    map[static_cast<std::size_t>(number)] = info++;
    // 370 slots of 63 samples (23,310 lines) fit the 16-bit first sample.
    infoWriter.u16(static_cast<std::uint16_t>(sample));
    infoWriter.u8(slot.volume);
    infoWriter.u8(slot.range);
    infoWriter.u8(slot.chance);
    infoWriter.u8(static_cast<std::uint8_t>(slot.pitch));
    infoWriter.u16(static_cast<std::uint16_t>((slot.flags & ~0xFCu) | (slot.samples.size() << 2)));
    for (std::size_t i = 0; i < slot.samples.size(); ++i) {
      const std::optional<std::string> name = Utf8ToCp1252(slot.samples[i]);
      if (!name || name->find_first_of("\r\n") != std::string::npos) {
        throw WadError(kOverflow, "the sample name \"" + slot.samples[i] + "\" of " + slotText(number) +
                                      " cannot be written to a .sam");
      }
      files.sam += *name + "\n";
      indexWriter.u32(i < slot.sampleIndices.size() ? slot.sampleIndices[i] : 0);
      ++sample;
    }
  }
  ByteWriter out(files.sfx);
  for (const std::int16_t entry : map) out.i16(entry);
  out.u32(static_cast<std::uint32_t>(table.slots.size()));
  out.bytes(infos);
  out.u32(sample);
  out.bytes(indices);
  return files;
}

}  // namespace tarnlow
