// Merging the largest object of the generated 64 MiB WAD into a copy of
// that WAD without it (and without the other object of its slot: the
// generated WAD fills every slot twice), the proof included, against
// BM_ReadWAD of the two WADs. The goal is at most three times the reading.

#include <benchmark/benchmark.h>

#include "anim/animation_graph.h"
#include "bench/generated_wad.h"
#include "edit/merge.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace {

using namespace tarnlow;
using namespace tarnlow::bench;

// The generated WAD without the slot of its largest object, written beside
// it, and the request that merges that object back.
class MergeCase {
 public:
  MergeCase() {
    const GeneratedFile& file = GeneratedFile::instance();
    const WadDocument& full = file.document();
    std::size_t mostFrames = 0;
    for (std::size_t m = 0; m < full.Moveables.size(); ++m) {
      const AnimationRange range = ObjectAnimationRange(full, m);
      std::size_t frames = 0;
      for (std::int64_t a = range.first; a < range.end; ++a) {
        const AnimationRecord r = full.Animations[static_cast<std::size_t>(a)];
        frames += static_cast<std::size_t>(r.FrameEnd - r.FrameStart + 1) * r.FrameSize;
      }
      if (frames > mostFrames) std::tie(largest_, mostFrames) = std::pair(m, frames);
    }
    MergeRequest removal;
    removal.target = {file.path(), &full};
    for (std::size_t m = 0; m < full.Moveables.size(); ++m) {
      if (full.Moveables[m].ObjectID == full.Moveables[largest_].ObjectID) {
        removal.remove.push_back({false, std::to_string(m)});
      }
    }
    const MergeResult without = RemoveObjects(removal);
    if (!without.proven) throw std::runtime_error("the copy without the object does not prove");
    withoutPath_ = file.folder() / "without.wad";
    WriteWAD(withoutPath_, without.wad);
    std::int64_t length = 0;
    without_ = ReadWAD(withoutPath_, length);
  }

  MergeRequest request() const {
    MergeRequest r;
    r.target = {withoutPath_, &without_};
    r.sources.push_back({{GeneratedFile::instance().path(), &GeneratedFile::instance().document()},
                         {{false, std::to_string(largest_)}}});
    return r;
  }
  const std::filesystem::path& withoutPath() const { return withoutPath_; }

  static const MergeCase& instance() {
    static const MergeCase c;
    return c;
  }

 private:
  std::size_t largest_ = 0;
  std::filesystem::path withoutPath_;
  WadDocument without_;
};

void BM_MergeObject(benchmark::State& state) {
  const MergeCase& c = MergeCase::instance();
  const MergeRequest request = c.request();
  for (auto _ : state) {
    MergeResult result = MergeWads(request);
    if (!result.proven) state.SkipWithError("the merge does not prove");
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_MergeObject)->Unit(benchmark::kMillisecond);

// What the merge is measured against: reading the target and the source.
void BM_ReadWAD(benchmark::State& state) {
  const MergeCase& c = MergeCase::instance();
  for (auto _ : state) {
    std::int64_t length = 0;
    WadDocument target = ReadWAD(c.withoutPath(), length);
    WadDocument source = ReadWAD(GeneratedFile::instance().path(), length);
    benchmark::DoNotOptimize(target);
    benchmark::DoNotOptimize(source);
  }
}
BENCHMARK(BM_ReadWAD)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
