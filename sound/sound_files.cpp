#include "sound/sound_files.h"

#include <new>

#include "wad/file_lookup.h"
#include "wad/file_paths.h"
#include "wad/input_file.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

// Far above any real sound file (a full table is under 100 KB); a larger
// file is not one, and is not read into memory.
constexpr std::uint64_t kMaxSoundFileBytes = std::uint64_t{16} << 20;

std::optional<std::filesystem::path> companion(const std::filesystem::path& wadPath, const char* extension) {
  std::filesystem::path wanted = wadPath;
  wanted.replace_extension(extension);
  return FindFileIgnoringCase(wanted);
}

// The whole file, or nothing after saying why in `failures`.
std::optional<Bytes> readWhole(const std::filesystem::path& path, std::vector<std::string>& failures) {
  const std::string name = Utf8FromPath(path.filename());
  try {
    InputFile file(path);
    if (file.size() > kMaxSoundFileBytes) {
      failures.push_back(name + ": " + std::to_string(file.size()) + " bytes, too large for a sound file");
      return std::nullopt;
    }
    return file.take(file.size());
  } catch (const WadError& e) {
    failures.push_back(name + ": " + e.description());
  } catch (const std::bad_alloc&) {
    failures.push_back(name + ": out of memory");
  }
  return std::nullopt;
}

std::string_view asText(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

SoundFilePaths FindSoundFiles(const std::filesystem::path& wadPath) {
  return SoundFilePaths{companion(wadPath, ".sfx"), companion(wadPath, ".sam"), companion(wadPath, ".was")};
}

SoundSet LoadSoundFiles(const std::filesystem::path& wadPath) {
  SoundSet set;
  set.paths = FindSoundFiles(wadPath);
  if (set.paths.sfx) {
    std::optional<Bytes> sam;
    if (set.paths.sam) {
      sam = readWhole(*set.paths.sam, set.failures);
    } else {
      set.failures.push_back(Utf8FromPath(set.paths.sfx->filename()) + ": there is no .sam beside it");
    }
    if (std::optional<Bytes> sfx = readWhole(*set.paths.sfx, set.failures)) {
      set.sounds = ReadSoundFiles(*sfx, sam ? asText(*sam) : std::string_view{});
    }
  }
  if (set.paths.was) {
    if (std::optional<Bytes> was = readWhole(*set.paths.was, set.failures)) set.objects = ReadObjectList(asText(*was));
  }
  return set;
}

}  // namespace tarnlow
