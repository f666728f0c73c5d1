// An SWD that cannot be read must leave the SWD the window holds exactly as
// it was, whatever stopped the reading and however far it got, while the
// WAD opened with it is taken.

#include <QAction>
#include <QLabel>
#include <algorithm>
#include <climits>
#include <string>

#include "tests/ui/support/window_story.h"
#include "wad/byte_writer.h"
#include "wad/swd_reader.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::WriteFileBytes;

// Items written after a count: as many as it says, none when it is 0 or
// less, and no more than a few for the huge ones.
std::size_t ItemsFor(std::int32_t count) { return static_cast<std::size_t>(std::clamp(count, 0, 8)); }

// An SWD file with its three counts as given, entries and records after
// their counts as ItemsFor says and `rows` texture rows, each section
// filled with its own pattern.
Bytes SwdWithCounts(std::int32_t entries, std::int32_t textureBytes, std::int32_t records,
                    std::size_t rows = 0) {
  Bytes out;
  ByteWriter w(out);
  w.i32(0x5344);
  w.i32(entries);
  for (std::size_t i = 0; i < ItemsFor(entries) * 16; ++i) w.u8(static_cast<std::uint8_t>(0x10 + i % 7));
  w.i32(textureBytes);
  for (std::size_t i = 0; i < rows * 768; ++i) w.u8(static_cast<std::uint8_t>(0x20 + i % 11));
  w.i32(records);
  for (std::size_t i = 0; i < ItemsFor(records) * 8; ++i) w.u8(static_cast<std::uint8_t>(0x30 + i % 5));
  return out;
}

class HeldSwd : public WindowStory {};

TEST_F(HeldSwd, FailingSwdLeavesTheHeldSwdAsItWasAndTheNewWadIsTaken) {
  const std::string first = writeWad("level1.wad", StoryWad(), false);
  WriteFileBytes(dir / "level1.swd", SwdWithCounts(3, 768 * 2, 4, 2));
  frmMain& w = startWith(first);
  const SwdDocument held = ReadSWD(dir / "level1.swd");
  ASSERT_EQ(w.session().swd, held);
  ASSERT_EQ(held.SwdTextData.size(), 2u);

  const struct {
    const char* name;
    Bytes swd;
  } cases[] = {
      {"negative entry count", SwdWithCounts(-1, 0, 0)},
      {"texture count that gives no row", SwdWithCounts(1, 383, 0)},
      // Both sections before it read well: a reader that filled the held
      // document as it went would leave them behind.
      {"most negative record count after two good sections", SwdWithCounts(2, 768, INT_MIN, 1)},
      {"record count too large to hold", SwdWithCounts(2, 768, INT_MAX, 1)},
  };
  std::size_t messages = platform.messageTexts().size();
  std::int32_t version = 200;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string title = "broken" + std::to_string(version);
    const std::string wad = writeWad(title + ".wad", tarnlow::test::WadBuilder().version(version).build(), false);
    WriteFileBytes(dir / (title + ".swd"), c.swd);
    platform.answerOpen(wad);
    platform.answerMessage();
    w.mnuWAD->trigger();

    ASSERT_EQ(platform.messageTexts().size(), messages + 1) << "one message for the SWD";
    messages = platform.messageTexts().size();
    EXPECT_EQ(w.session().swd, held);
    EXPECT_EQ(w.session().wad.Version, version);
    EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf(title + ".swd"));
    ++version;
  }
}

}  // namespace
}  // namespace tarnlow::ui::test
