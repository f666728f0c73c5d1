#include "wad/wad_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "wad/input_file.h"
#include "wad/section_check.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

enum class Policy {
  Specified,  // a count below 1, or data past the end in sections 1 to 10, fails
  Lenient,    // those are recorded in the reading and reading goes on
};

std::int64_t upperBoundOf(std::int32_t count) { return std::int64_t{count} - 1; }

// 2 x count - 1 as 32-bit arithmetic computes it: the product overflows
// before the subtraction, so 2^30 words fail as an overflow. An overflowing
// product is returned as it is, outside the 32-bit range.
std::int64_t meshDataUpperBound(std::int32_t count) {
  const std::int64_t twice = 2 * std::int64_t{count};
  const bool overflows = twice > INT32_MAX || twice < INT32_MIN;
  return overflows ? twice : twice - 1;
}

std::int64_t textureUpperBound(std::int32_t count) { return TextureRowUpperBound(count); }

// How one section's count turns into bytes of data: the upper bound of its
// array, the bytes per array element, and the bytes per unit of the count
// (texture data counts bytes in rows of 768, mesh data words of 2 bytes).
struct SectionShape {
  std::int64_t (*upperBound)(std::int32_t count);
  std::uint64_t elementBytes;
  std::uint64_t unitBytes;

  // The smallest whole piece of the section: a record, a row, a word.
  std::uint64_t step() const { return std::max(elementBytes, unitBytes); }
};

constexpr SectionShape kRecords(std::uint64_t recordBytes) { return {upperBoundOf, recordBytes, recordBytes}; }
constexpr SectionShape kTextureRows{textureUpperBound, TextureRow::kFileSize, 1};
constexpr SectionShape kMeshWords{meshDataUpperBound, 1, 2};

// One pass over a WAD file, section by section, under one policy. The
// sections' extents, the reading record and the document are filled as the
// file is read.
class WadFileReader {
 public:
  WadFileReader(const std::filesystem::path& path, Policy policy) : file_(path), policy_(policy) {
    reading_.fileLength = file_.size();
  }

  std::uint64_t size() const { return file_.size(); }

  WadDocument read() {
    WadDocument doc;
    doc.Version = file_.i32();
    doc.TextInfo = recordSection<TextInfoRecord>(kSectionTextInfo, doc.NumTextInfo);
    doc.TextData = recordSection<TextureRow>(kSectionTextData, doc.NumTextData, kTextureRows);
    doc.MeshPointers = recordSection<std::int32_t>(kSectionMeshPointers, doc.NumMeshPointers);
    doc.MeshData = dataSection(kSectionMeshData, doc.NumMeshData, kMeshWords);
    doc.Animations = recordSection<AnimationRecord>(kSectionAnimations, doc.NumAnimations);
    doc.StateChanges = recordSection<StateChangeRecord>(kSectionStateChanges, doc.NumStateChanges);
    doc.AnimDispatches = recordSection<AnimDispatchRecord>(kSectionAnimDispatches, doc.NumAnimDispatches);
    doc.AnimCommands = recordSection<std::int16_t>(kSectionAnimCommands, doc.NumAnimCommands);
    doc.MeshTrees = recordSection<std::int32_t>(kSectionMeshTrees, doc.NumMeshTrees);
    doc.Frames = recordSection<std::int16_t>(kSectionFrames, doc.NumFrames);
    doc.Moveables = tailSection<MoveableRecord>(kSectionMoveables, doc.NumMoveables);
    doc.StaticMeshes = tailSection<StaticMeshRecord>(kSectionStaticMeshes, doc.NumStaticMeshes);

    reading_.end = std::min(file_.position(), file_.size());
    if (!reading_.cutShort()) reading_.trailingBytes = file_.size() - reading_.end;
    doc.reading = reading_;
    return doc;
  }

 private:
  SectionReading& startSection(int s) {
    SectionReading& section = reading_.sections[static_cast<std::size_t>(s)];
    section.offset = file_.position();
    const bool countWhole = file_.remaining() >= 4;
    section.claimed = file_.i32();
    section.state = countWhole ? SectionState::Whole : SectionState::Missing;
    return section;
  }

  SectionCount countOf(int s, const SectionReading& section) const {
    return {kWadSectionNames[static_cast<std::size_t>(s)], section.claimed, section.offset};
  }

  template <typename T>
  RecordArray<T> recordSection(int s, std::int32_t& countField, SectionShape shape = kRecords(RecordArray<T>::kRecordSize)) {
    Bytes bytes = dataSection(s, countField, shape);
    const std::size_t records = bytes.size() / RecordArray<T>::kRecordSize;
    return RecordArray<T>(records, std::move(bytes));
  }

  // Sections 1 to 10. The specified policy demands every one whole in the
  // file: were one to run past the end, the count after it would read as 0
  // and fail anyway, and failing first keeps a short file from allocating
  // what it cannot fill. The lenient one keeps the count of an empty section
  // as read, and cuts a short one to the elements the file holds whole, the
  // count with it, so that the document stays true to its arrays.
  Bytes dataSection(int s, std::int32_t& countField, SectionShape shape) {
    SectionReading& section = startSection(s);
    const SectionCount count = countOf(s, section);
    if (policy_ == Policy::Specified) {
      countField = section.claimed;
      const std::uint64_t bytes = CheckedSectionBytes(count, shape.upperBound(count.value), shape.elementBytes);
      requireInFile(count, bytes);
      section.held = bytes / shape.unitBytes;
      return file_.take(bytes);
    }
    if (section.state == SectionState::Missing) {
      countField = 0;
      return {};
    }
    const std::int64_t upperBound = shape.upperBound(count.value);
    if (count.value < 1 || upperBound < 0) {
      section.state = SectionState::Empty;
      countField = section.claimed;
      return {};
    }
    // Here the upper bound is below 2^32: the bytes cannot overflow.
    const std::uint64_t wanted = (static_cast<std::uint64_t>(upperBound) + 1) * shape.elementBytes;
    std::uint64_t bytes = wanted;
    if (wanted > file_.remaining()) {
      bytes = file_.remaining() / shape.step() * shape.step();
      section.state = SectionState::Short;
    }
    if (bytes > kMaxArrayBytes) throwTooLarge(count, bytes);
    section.held = bytes / shape.unitBytes;
    countField = section.state == SectionState::Short ? static_cast<std::int32_t>(section.held) : section.claimed;
    Bytes data = file_.take(bytes);
    // Nothing after a short section can be read: the file ends inside it.
    if (section.state == SectionState::Short) file_.take(file_.remaining());
    return data;
  }

  // The moveables and the static meshes: the specified reading under both
  // policies, as a file cut inside them is one the specified reader takes.
  // Only the bytes the file holds are stored, so a short file that claims
  // millions of records costs no memory; the missing ones read as zeros.
  // The moveables are kept as their 18-byte file records and decoded on
  // access, which gives exactly what reading them record by record gives.
  // A static-mesh count of 0 or less means no records and the end of the
  // reading. Counts the specified reader refuses, the lenient one takes as an
  // empty section (below 1) or as the records the file holds (too many).
  template <typename T>
  RecordArray<T> tailSection(int s, std::int32_t& countField) {
    SectionReading& section = startSection(s);
    const SectionCount count = countOf(s, section);
    countField = count.value;
    constexpr std::uint64_t kSize = RecordArray<T>::kRecordSize;
    if (s == kSectionStaticMeshes && count.value <= 0) {
      if (section.state == SectionState::Whole) section.state = SectionState::Empty;
      return {};
    }
    const bool specifiedTakes = count.value >= 1 && std::uint64_t(count.value) * kSize <= kMaxArrayBytes;
    std::uint64_t bytes = 0;
    if (policy_ == Policy::Specified || specifiedTakes) {
      bytes = CheckedSectionBytes(count, upperBoundOf(count.value), kSize);
    } else if (count.value < 1) {
      if (section.state == SectionState::Whole) section.state = SectionState::Empty;
      return {};
    } else {
      bytes = file_.remaining() / kSize * kSize;
      countField = static_cast<std::int32_t>(bytes / kSize);
    }
    section.held = std::min(bytes, file_.remaining()) / kSize;
    const bool cut = bytes > file_.remaining() || countField != count.value;
    if (cut && section.state == SectionState::Whole) section.state = SectionState::Short;
    RecordArray<T> records(static_cast<std::size_t>(bytes / kSize), file_.take(bytes));
    // Cut to what the file holds: the file ends inside the section.
    if (countField != count.value) file_.take(file_.remaining());
    return records;
  }

  void requireInFile(const SectionCount& count, std::uint64_t bytes) const {
    if (bytes <= file_.remaining()) return;
    throw WadError(kSubscriptOutOfRange,
                   "Subscript out of range: " + std::string(count.name) + " is " + std::to_string(count.value) +
                       ", which needs " + std::to_string(bytes) + " bytes from byte " +
                       std::to_string(file_.position()) + ", but the file ends at byte " +
                       std::to_string(file_.size()) + " (the next count reads as 0)",
                   count.where());
  }

  // Only a file larger than the cap gets here: the lenient reading never
  // takes more than the file holds.
  [[noreturn]] static void throwTooLarge(const SectionCount& count, std::uint64_t bytes) {
    throw WadError(kOutOfMemory,
                   "Out of memory: " + std::string(count.name) + " asks for " + std::to_string(bytes) +
                       " bytes, more than the 1 GiB an array may take",
                   count.where());
  }

  InputFile file_;
  Policy policy_;
  WadReading reading_;
};

WadDocument readWith(const std::filesystem::path& path, std::int64_t& wadFileLength, Policy policy) {
  WadFileReader reader(path, policy);
  wadFileLength = static_cast<std::int64_t>(reader.size());
  return reader.read();
}

}  // namespace

WadDocument ReadWAD(const std::filesystem::path& path, std::int64_t& wadFileLength) {
  return readWith(path, wadFileLength, Policy::Specified);
}

WadDocument ReadWADLenient(const std::filesystem::path& path, std::int64_t& wadFileLength) {
  return readWith(path, wadFileLength, Policy::Lenient);
}

}  // namespace tarnlow
