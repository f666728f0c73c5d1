// SWD reader: any bytes either give a document whose arrays follow their
// counts, or a WadError with one of the numbers an SWD can cause.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "wad/swd_reader.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"

namespace {

using tarnlow::fuzz::Require;

// A section's array is present only when its count is not 0; a reader that
// returned a document accepted the count, so it is positive then.
bool Follows(std::int32_t count, std::size_t records) {
  return count == 0 ? records == 0 : count > 0 && records == static_cast<std::size_t>(count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("input.swd");
  input.write(data, size);

  tarnlow::SwdDocument document;
  try {
    document = tarnlow::ReadSWD(input.path());
  } catch (const tarnlow::WadError& e) {
    Require(e.number() == tarnlow::kOverflow || e.number() == tarnlow::kOutOfMemory ||
                e.number() == tarnlow::kSubscriptOutOfRange,
            "an SWD fails only with 6, 7 or 9");
    Require(!e.description().empty(), "a failure has a description");
    return 0;
  }
  Require(Follows(document.NumSwdEntries, document.SwdEntries.size()), "SwdEntries follows its count");
  Require(Follows(document.NumSwdRecords, document.SwdRecords.size()), "SwdRecords follows its count");
  if (document.NumSwdTextData == 0) {
    Require(document.SwdTextData.empty(), "no texture rows for a zero count");
  } else {
    const std::int32_t upper = tarnlow::TextureRowUpperBound(document.NumSwdTextData);
    Require(upper >= 0 && document.SwdTextData.size() == static_cast<std::size_t>(upper) + 1,
            "texture rows follow the texture rule");
  }
  // Only what the file holds is stored; the rest of a short file reads as zero.
  const std::size_t stored = document.SwdEntries.storedBytes().size() + document.SwdTextData.storedBytes().size() +
                             document.SwdRecords.storedBytes().size();
  Require(stored <= size, "no more bytes stored than the file holds");
  return 0;
}
