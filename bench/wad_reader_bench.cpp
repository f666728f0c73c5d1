// How fast ReadWAD takes a large WAD compared with reading the same file
// into one buffer with one read, and how much memory it holds at its peak.
//
// The WAD is generated once (about 72 MiB) in a temporary folder and read
// once before timing, so every run reads it from the page cache.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "wad/bytes.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace {

using tarnlow::Bytes;
using tarnlow::RecordArray;

template <typename T>
RecordArray<T> filled(std::size_t count, std::uint8_t seed) {
  Bytes bytes(count * RecordArray<T>::kRecordSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
  return RecordArray<T>(count, std::move(bytes));
}

// A WAD in the proportions of a big real one: texture pages and mesh data
// make up most of it, then animation frames.
tarnlow::WadDocument LargeDocument() {
  tarnlow::WadDocument d;
  d.Version = 130;
  d.NumTextInfo = 20'000;
  d.TextInfo = filled<tarnlow::TextInfoRecord>(20'000, 1);
  d.NumTextData = 768 * 256 * 160;  // 160 texture pages: 30 MiB
  d.TextData = filled<tarnlow::TextureRow>(256 * 160, 2);
  d.NumMeshPointers = 40'000;
  d.MeshPointers = filled<std::int32_t>(40'000, 3);
  d.NumMeshData = 12 << 20;  // 24 MiB
  d.MeshData = Bytes(2 * static_cast<std::size_t>(d.NumMeshData), 4);
  d.NumAnimations = 50'000;
  d.Animations = filled<tarnlow::AnimationRecord>(50'000, 5);
  d.NumStateChanges = 50'000;
  d.StateChanges = filled<tarnlow::StateChangeRecord>(50'000, 6);
  d.NumAnimDispatches = 50'000;
  d.AnimDispatches = filled<tarnlow::AnimDispatchRecord>(50'000, 7);
  d.NumAnimCommands = 200'000;
  d.AnimCommands = filled<std::int16_t>(200'000, 8);
  d.NumMeshTrees = 200'000;
  d.MeshTrees = filled<std::int32_t>(200'000, 9);
  d.NumFrames = 6 << 20;  // 12 MiB
  d.Frames = filled<std::int16_t>(6 << 20, 10);
  d.NumMoveables = 20'000;
  d.Moveables = filled<tarnlow::MoveableRecord>(20'000, 11);
  d.NumStaticMeshes = 20'000;
  d.StaticMeshes = filled<tarnlow::StaticMeshRecord>(20'000, 12);
  return d;
}

// The generated file, made on first use and removed at exit.
class BenchFile {
 public:
  BenchFile() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("tarnlow-bench-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    path_ = folder_ / "large.wad";
    tarnlow::WriteWAD(path_, LargeDocument());
    size_ = std::filesystem::file_size(path_);
    std::int64_t length = 0;
    tarnlow::ReadWAD(path_, length);  // into the page cache
  }
  ~BenchFile() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::uint64_t size() const { return size_; }

  static const BenchFile& instance() {
    static const BenchFile file;
    return file;
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
  std::uint64_t size_ = 0;
};

Bytes RawRead(const std::filesystem::path& path, std::uint64_t size) {
  Bytes buffer;
  buffer.resize(size);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file || std::fread(buffer.data(), 1, buffer.size(), file.get()) != buffer.size()) buffer.clear();
  return buffer;
}

void BM_ReadWAD(benchmark::State& state) {
  const BenchFile& file = BenchFile::instance();
  for (auto _ : state) {
    std::int64_t length = 0;
    tarnlow::WadDocument document = tarnlow::ReadWAD(file.path(), length);
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadWAD)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state) {
  const BenchFile& file = BenchFile::instance();
  for (auto _ : state) {
    Bytes buffer = RawRead(file.path(), file.size());
    if (buffer.size() != file.size()) state.SkipWithError("the file could not be read");
    benchmark::DoNotOptimize(buffer);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

// A "kB" line of /proc/self/status, in bytes; -1 when there is none.
long long StatusBytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::stoll(line.substr(key.size() + 1)) * 1024;
  }
  return -1;
}

// Peak resident memory while reading, above what the process held before:
// the high-water mark is reset first (writing 5 to clear_refs), then read
// after one ReadWAD. Memory the heap kept from earlier benchmarks is given
// back first, or the read would reuse it unseen.
void BM_ReadWADPeakMemory(benchmark::State& state) {
  const BenchFile& file = BenchFile::instance();
  double peak = 0;
  for (auto _ : state) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long before = StatusBytes("VmRSS");
    {
      std::int64_t length = 0;
      tarnlow::WadDocument document = tarnlow::ReadWAD(file.path(), length);
      benchmark::DoNotOptimize(document);
    }
    const long long high = StatusBytes("VmHWM");
    if (before < 0 || high < 0) {
      state.SkipWithError("/proc/self/status has no VmRSS or VmHWM");
      return;
    }
    peak = static_cast<double>(high - before);
  }
  state.counters["FileMiB"] = static_cast<double>(file.size()) / (1 << 20);
  state.counters["PeakMiB"] = peak / (1 << 20);
  state.counters["PeakPerFileByte"] = peak / static_cast<double>(file.size());
}
BENCHMARK(BM_ReadWADPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
