// Posing and checking at the scale of big real WADs.
//
// BM_PoseAllFrames poses every frame of every animation of a WAD whose
// objects have LARA's 15 meshes and 1,200 animations between them; its
// rate counts mesh transforms. BM_CheckWad and BM_ReadWAD take the same
// generated 64 MiB WAD (texture pages, meshes, key frames and the records
// that tie them together, every reference sound), written once to a
// temporary folder and read once before timing. BM_ExportGltf writes the
// object of that WAD with the most key frames as GLB; its items are the key
// frames written, and its transform rate compares with BM_PoseAllFrames'.

#include <benchmark/benchmark.h>

#include <algorithm>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "anim/pose.h"
#include "anim/skeleton.h"
#include "bench/generated_wad.h"
#include "check/check_wad.h"
#include "export/gltf_export.h"
#include "wad/wad_reader.h"

namespace {

using namespace tarnlow;
using namespace tarnlow::bench;

void BM_PoseAllFrames(benchmark::State& state) {
  static const WadDocument doc = Generated({4, 300, 1, 15, 12});
  std::int64_t transforms = 0;
  for (auto _ : state) {
    for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
      const Skeleton skeleton = std::get<Skeleton>(BuildSkeleton(doc, m));
      const AnimationRange range = ObjectAnimationRange(doc, m);
      for (std::int64_t a = range.first; a < range.end; ++a) {
        const int frames = FrameCount(doc.Animations[static_cast<std::size_t>(a)]);
        for (int f = 0; f < frames; ++f) {
          auto pose = PoseSkeleton(doc, skeleton, a, f);
          transforms += static_cast<std::int64_t>(std::get<ObjectPose>(pose).meshes.size());
          benchmark::DoNotOptimize(pose);
        }
      }
    }
  }
  state.counters["animations"] = static_cast<double>(doc.Animations.size());
  state.SetItemsProcessed(transforms);
}
BENCHMARK(BM_PoseAllFrames)->Unit(benchmark::kMillisecond);

void BM_ReadWAD(benchmark::State& state) {
  const GeneratedFile& file = GeneratedFile::instance();
  for (auto _ : state) {
    std::int64_t length = 0;
    WadDocument document = ReadWAD(file.path(), length);
    benchmark::DoNotOptimize(document);
  }
  state.counters["FileMiB"] = static_cast<double>(file.size()) / (1 << 20);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadWAD)->Unit(benchmark::kMillisecond);

void BM_CheckWad(benchmark::State& state) {
  const GeneratedFile& file = GeneratedFile::instance();
  std::size_t findings = 0;
  for (auto _ : state) {
    const std::vector<Finding> found = CheckWad(file.document());
    findings = found.size();
    benchmark::DoNotOptimize(found);
  }
  if (findings != 0) state.SkipWithError("the generated WAD should check clean");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_CheckWad)->Unit(benchmark::kMillisecond);

void BM_ExportGltf(benchmark::State& state) {
  const WadDocument& doc = GeneratedFile::instance().document();
  std::size_t largest = 0;
  int most = -1;
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    const auto graph = BuildAnimationGraph(doc, m);
    int keyFrames = 0;
    for (const AnimationNode& node : std::get<AnimationGraph>(graph).animations) keyFrames += node.keyFrameCount;
    if (keyFrames > most) std::tie(largest, most) = std::pair(m, keyFrames);
  }
  std::size_t written = 0, bytes = 0;
  for (auto _ : state) {
    auto exported = ExportObjectGltf(doc, largest, GltfContainer::Binary, "largest");
    const GltfExport& result = std::get<GltfExport>(exported);
    written = result.keyFramesWritten;
    bytes = result.bytes.size();
    benchmark::DoNotOptimize(exported);
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * written));
  state.counters["meshTransforms"] = benchmark::Counter(iterations * static_cast<double>(written * kMeshes),
                                                        benchmark::Counter::kIsRate);
  state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_ExportGltf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
