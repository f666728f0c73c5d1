#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_process.h"
#include "tests/support/animated_wad.h"
#include "tests/support/content_wad.h"

namespace tarnlow::test {
namespace {

TEST(CliDiff, ExitStatusSaysWhetherTheContentDiffers) {
  ContentWad changed = ContentWad::Plain();
  changed.frames[21] = Turn('X', 513);
  const Level level(ContentWad::Plain().build(), "old.wad");
  const std::string same = (level.dir / "same.wad").string(), other = (level.dir / "new.wad").string();
  WriteFileBytes(same, WadFileBytes(ContentWad::Plain().build()));
  WriteFileBytes(other, WadFileBytes(changed.build()));

  EXPECT_EQ(level.run({"diff", level.wad, same}).status, 0);
  const CliRun differs = level.run({"diff", "--format", "json", level.wad, other});
  ASSERT_EQ(differs.status, 1) << differs.err;
  const nlohmann::json out = nlohmann::json::parse(differs.out);
  EXPECT_EQ(out["same"], false);
  ASSERT_EQ(out["objects"]["changed"].size(), 1u);
  EXPECT_EQ(out["objects"]["changed"][0]["differences"][0]["part"], "key frames");

  EXPECT_EQ(level.run({"diff", level.wad, (level.dir / "missing.wad").string()}).status, 2);
  WriteFileBytes(level.dir / "new.swd", SwdFileBytes({-5, 0, 0}));
  EXPECT_EQ(level.run({"diff", level.wad, other}).status, 2) << "an SWD beside it that cannot be read";
  EXPECT_EQ(level.run({"diff", level.wad}).status, 64);
}

}  // namespace
}  // namespace tarnlow::test
