#include "wad/swd_reader.h"

#include <cstdint>

#include "wad/input_file.h"
#include "wad/section_check.h"
#include "wad/texture_rows.h"

namespace tarnlow {

namespace {

// Reads one section: a count, then, unless it is 0, its data, checked
// before anything is allocated. Unlike the WAD, an SWD may end early and
// still load (every later count reads as 0), so a section that runs past the
// end keeps only the bytes the file holds and reads the rest as zero.
template <typename T>
RecordArray<T> readSection(InputFile& file, const char* name, std::int32_t& countField,
                           std::int64_t (*upperBoundOf)(std::int32_t)) {
  const std::uint64_t offset = file.position();
  const SectionCount count{name, file.i32(), offset};
  countField = count.value;
  if (count.value == 0) return {};
  const std::uint64_t bytes = CheckedSectionBytes(count, upperBoundOf(count.value), RecordArray<T>::kRecordSize);
  return RecordArray<T>(static_cast<std::size_t>(bytes / RecordArray<T>::kRecordSize), file.take(bytes));
}

std::int64_t countMinusOne(std::int32_t count) { return std::int64_t{count} - 1; }
std::int64_t textureRowBound(std::int32_t count) { return TextureRowUpperBound(count); }

}  // namespace

SwdDocument ReadSWD(const std::filesystem::path& path) {
  InputFile file(path);
  SwdDocument doc;
  doc.SwdUnknown = file.i32();
  doc.SwdEntries = readSection<SwdEntry>(file, "NumSwdEntries", doc.NumSwdEntries, countMinusOne);
  // The sprite texture follows the WAD's texture rule: rows of 768 bytes.
  doc.SwdTextData = readSection<TextureRow>(file, "NumSwdTextData", doc.NumSwdTextData, textureRowBound);
  doc.SwdRecords = readSection<SwdRecord>(file, "NumSwdRecords", doc.NumSwdRecords, countMinusOne);
  return doc;
}

}  // namespace tarnlow
