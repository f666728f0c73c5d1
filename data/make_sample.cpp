// tarnlow-make-sample OUTDIR: writes the bundled sample.wad and sample.swd
// into OUTDIR. The same bytes on every run.

#include <filesystem>
#include <iostream>

#include "data/sample_content.h"
#include "wad/atomic_file.h"
#include "wad/wad_error.h"
#include "wad/wad_writer.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: tarnlow-make-sample OUTDIR\n";
    return 64;
  }
  const std::filesystem::path folder = argv[1];
  try {
    tarnlow::WriteWAD(folder / "sample.wad", tarnlow::sample::SampleWad());
    tarnlow::AtomicFile swd(folder / "sample.swd");
    swd.write(tarnlow::sample::SampleSwdBytes());
    swd.commit();
  } catch (const tarnlow::WadError& e) {
    std::cerr << "tarnlow-make-sample: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
