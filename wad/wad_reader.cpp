#include "wad/wad_reader.h"

#include <cstdint>
#include <string>

#include "wad/input_file.h"
#include "wad/section_check.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

SectionCount readCount(InputFile& file, const char* name) {
  const std::uint64_t offset = file.position();
  return {name, file.i32(), offset};
}

// Sections 1 to 10 must lie whole inside the file: were one to run past the
// end, the count after it would read as 0 and fail anyway. Failing here
// first keeps a short file from allocating what it cannot fill.
void requireInFile(const InputFile& file, const SectionCount& count, std::uint64_t bytes) {
  if (bytes <= file.remaining()) return;
  throw WadError(kSubscriptOutOfRange,
                 "Subscript out of range: " + std::string(count.name) + " is " + std::to_string(count.value) +
                     ", which needs " + std::to_string(bytes) + " bytes from byte " + std::to_string(file.position()) +
                     ", but the file ends at byte " + std::to_string(file.size()) + " (the next count reads as 0)",
                 count.where());
}

std::int64_t upperBoundOf(const SectionCount& count) { return std::int64_t{count.value} - 1; }

// 2 x count - 1 as 32-bit arithmetic computes it: the product overflows
// before the subtraction, so 2^30 words fail as an overflow. An overflowing
// product is returned as it is, outside the 32-bit range.
std::int64_t meshDataUpperBound(const SectionCount& count) {
  const std::int64_t twice = 2 * std::int64_t{count.value};
  const bool overflows = twice > INT32_MAX || twice < INT32_MIN;
  return overflows ? twice : twice - 1;
}

// A section of records of T: count, then one bulk read into the array.
template <typename T>
RecordArray<T> readSection(InputFile& file, const char* name, std::int32_t& countField) {
  const SectionCount count = readCount(file, name);
  countField = count.value;
  const std::uint64_t bytes = CheckedSectionBytes(count, upperBoundOf(count), RecordArray<T>::kRecordSize);
  requireInFile(file, count, bytes);
  return RecordArray<T>(static_cast<std::size_t>(bytes / RecordArray<T>::kRecordSize), file.take(bytes));
}

}  // namespace

WadDocument ReadWAD(const std::filesystem::path& path, std::int64_t& wadFileLength) {
  InputFile file(path);
  wadFileLength = static_cast<std::int64_t>(file.size());

  WadDocument doc;
  doc.Version = file.i32();
  doc.TextInfo = readSection<TextInfoRecord>(file, "NumTextInfo", doc.NumTextInfo);

  // The row count follows from the byte count by the texture rule, and
  // exactly 768 bytes per row are read whatever the byte count says.
  {
    const SectionCount count = readCount(file, "NumTextData");
    doc.NumTextData = count.value;
    const std::uint64_t bytes = CheckedSectionBytes(count, TextureRowUpperBound(count.value), TextureRow::kFileSize);
    requireInFile(file, count, bytes);
    doc.TextData = RecordArray<TextureRow>(static_cast<std::size_t>(bytes / TextureRow::kFileSize), file.take(bytes));
  }

  doc.MeshPointers = readSection<std::int32_t>(file, "NumMeshPointers", doc.NumMeshPointers);

  // The mesh data is counted in 16-bit words; its upper bound is in bytes.
  {
    const SectionCount count = readCount(file, "NumMeshData");
    doc.NumMeshData = count.value;
    const std::uint64_t bytes = CheckedSectionBytes(count, meshDataUpperBound(count), 1);
    requireInFile(file, count, bytes);
    doc.MeshData = file.take(bytes);
  }

  doc.Animations = readSection<AnimationRecord>(file, "NumAnimations", doc.NumAnimations);
  doc.StateChanges = readSection<StateChangeRecord>(file, "NumStateChanges", doc.NumStateChanges);
  doc.AnimDispatches = readSection<AnimDispatchRecord>(file, "NumAnimDispatches", doc.NumAnimDispatches);
  doc.AnimCommands = readSection<std::int16_t>(file, "NumAnimCommands", doc.NumAnimCommands);
  doc.MeshTrees = readSection<std::int32_t>(file, "NumMeshTrees", doc.NumMeshTrees);
  doc.Frames = readSection<std::int16_t>(file, "NumFrames", doc.NumFrames);

  // The moveables are kept as their 18-byte file records and decoded on
  // access, which gives exactly what reading them record by record gives:
  // the records follow each other without gaps, and a record cut by the end
  // of the file reads its missing bytes as zero either way. Only the bytes
  // the file holds are stored, so a short file that claims millions of
  // moveables costs no memory; the static-mesh count after them reads as 0.
  {
    const SectionCount count = readCount(file, "NumMoveables");
    doc.NumMoveables = count.value;
    const std::uint64_t bytes = CheckedSectionBytes(count, upperBoundOf(count), MoveableRecord::kFileSize);
    doc.Moveables = RecordArray<MoveableRecord>(static_cast<std::size_t>(bytes / MoveableRecord::kFileSize), file.take(bytes));
  }

  // A static-mesh count of 0 or less means no records and the end of the
  // reading; a section cut short keeps zeros in its last records.
  {
    const SectionCount count = readCount(file, "NumStaticMeshes");
    doc.NumStaticMeshes = count.value;
    if (count.value > 0) {
      const std::uint64_t bytes = CheckedSectionBytes(count, upperBoundOf(count), StaticMeshRecord::kFileSize);
      doc.StaticMeshes =
          RecordArray<StaticMeshRecord>(static_cast<std::size_t>(bytes / StaticMeshRecord::kFileSize), file.take(bytes));
    }
  }
  return doc;
}

}  // namespace tarnlow
