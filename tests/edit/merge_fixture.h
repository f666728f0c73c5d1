#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edit/merge.h"
#include "tests/support/object_wad.h"
#include "tests/support/temp_dir.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow::test {

// An object or static as the command line names it: NAME, NAME=SLOT or
// NAME=free.
inline ObjectChoice Choose(std::string name, std::string slot = {}, bool isStatic = false) {
  ObjectChoice c{isStatic, std::move(name), Placement::SameSlot, std::move(slot)};
  if (!c.slot.empty()) c.placement = c.slot == "free" ? Placement::FirstFree : Placement::Slot;
  return c;
}

// The document as a file of it reads, with what its reading found, as the
// command line and the window hand WADs to the merge.
inline WadDocument AsRead(const WadDocument& document) {
  TempDir dir;
  WriteWAD(dir / "in.wad", document);
  std::int64_t length = 0;
  return ReadWADLenient(dir / "in.wad", length);
}

class MergeTest : public ::testing::Test {
 protected:
  MergeRequest request(const WadDocument& target, const WadDocument& source, std::vector<ObjectChoice> choices) {
    MergeRequest r;
    r.target = {"target.wad", &target};
    r.sources.push_back({{"source.wad", &source}, std::move(choices)});
    r.names = names_.get();
    return r;
  }

  std::unique_ptr<ObjectNameTables> names_ = TestNames();
};

}  // namespace tarnlow::test
