#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

// What one run of tarnlow-cli left behind.
struct CliRun {
  int status = -1;  // exit status; -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// The tarnlow-cli this test binary was built with.
inline std::filesystem::path CliPath() { return TARNLOW_CLI_PATH; }

// Runs `program` (by default the built tarnlow-cli) with `args` through the
// shell, its output caught in files inside `scratch`, and waits for it.
CliRun RunCliProcess(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& program = CliPath());

// A document written as the WAD `name` in a folder of its own, where the
// CLI runs.
struct Level {
  explicit Level(const WadDocument& doc, const std::string& name = "level.wad") : wad((dir / name).string()) {
    WriteFileBytes(wad, WadFileBytes(doc));
  }
  CliRun run(const std::vector<std::string>& args) const { return RunCliProcess(args, dir.path()); }
  TempDir dir;
  std::string wad;
};

}  // namespace tarnlow::test
