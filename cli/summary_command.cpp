#include <algorithm>
#include <charconv>
#include <new>

#include "cli/report_commands.h"
#include "cli/wad_files.h"
#include "parallel/parallel_for.h"
#include "sound/sound_files.h"
#include "wad/wad_reader.h"

namespace tarnlow::cli {

namespace {

struct SummaryArguments {
  unsigned jobs = 0;  // 0: one per hardware thread
  std::vector<std::string> paths;
};

std::string parseArguments(const std::vector<std::string>& args, SummaryArguments& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--jobs") {
      if (i + 1 >= args.size()) return "summary: --jobs needs a number";
      const std::string& value = args[++i];
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed.jobs);
      if (ec != std::errc() || end != value.data() + value.size() || parsed.jobs < 1 || parsed.jobs > 1024) {
        return "summary: --jobs needs a number from 1 to 1024";
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "summary: unknown option " + arg;
    } else {
      parsed.paths.push_back(arg);
    }
  }
  if (parsed.paths.empty()) return "summary: expected at least one WAD file or folder";
  return {};
}

// A field quoted CSV-style when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

// What the summary says of a WAD that was read.
std::string readStatus(const WadReading& reading) {
  if (reading.cutShort()) return reading.hasEmptySections() ? "read, cut short, with empty sections" : "read, cut short";
  return reading.hasEmptySections() ? "read, with empty sections" : "ok";
}

// The CSV row of one WAD, without its line break, and the note on what its
// reading met (nothing, or a line). Never throws.
std::string summaryRow(const std::filesystem::path& path, std::string& note) {
  std::string status;
  std::int64_t length = 0;
  std::optional<WadDocument> document;
  try {
    document = ReadWADLenient(path, length);
    status = readStatus(document->reading);
    note = ReadingNote(Utf8FromPath(path), document->reading);
  } catch (const WadError& e) {
    const std::string message = ReadWadMessage(e);
    status = message.substr(0, message.find('\n'));
  } catch (const std::bad_alloc&) {
    status = "ReadWAD -> error code " + std::to_string(kOutOfMemory);
  } catch (const std::exception& e) {
    // Nothing may escape a worker thread; the row carries the reason instead.
    status = std::string("error: ") + e.what();
  }
  std::string row = csvField(path.string());
  row.append(",").append(csvField(status)).append(",");
  if (document) row.append(std::to_string(document->Version));
  // The reader records the length before it reads a section, so a broken WAD
  // still has one; a file that cannot be opened has none.
  row.append(",");
  if (document || length > 0) row.append(std::to_string(length));
  const std::int32_t counts[] = {
      document ? document->NumTextInfo : 0,     document ? document->NumTextData : 0,
      document ? document->NumMeshPointers : 0, document ? document->NumMeshData : 0,
      document ? document->NumAnimations : 0,   document ? document->NumStateChanges : 0,
      document ? document->NumAnimDispatches : 0, document ? document->NumAnimCommands : 0,
      document ? document->NumMeshTrees : 0,    document ? document->NumFrames : 0,
      document ? document->NumMoveables : 0,    document ? document->NumStaticMeshes : 0,
  };
  for (const std::int32_t count : counts) {
    row.append(",");
    if (document) row.append(std::to_string(count));
  }
  // Empty without a sound table beside the WAD, as the counts of a WAD that
  // cannot be read are.
  const SoundSet sounds = LoadSoundFiles(path);
  row.append(",");
  if (sounds.sounds) row.append(std::to_string(sounds.sounds->table.slots.size()));
  row.append(",");
  if (sounds.sounds) row.append(std::to_string(sounds.sounds->table.sampleCount()));
  return row;
}

constexpr const char* kHeader =
    "Path,Status,Version,FileSize,NumTextInfo,NumTextData,NumMeshPointers,NumMeshData,NumAnimations,"
    "NumStateChanges,NumAnimDispatches,NumAnimCommands,NumMeshTrees,NumFrames,NumMoveables,NumStaticMeshes,"
    "SoundSlots,SoundSamples";

}  // namespace

int RunSummary(const CommandContext& context) {
  SummaryArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  std::vector<std::filesystem::path> wads;
  for (const std::string& path : arguments.paths) {
    for (std::filesystem::path& wad : WadsUnder(PathFromUtf8(path))) wads.push_back(std::move(wad));
  }

  // Each row goes to its file's slot, so the output order does not depend
  // on which worker finishes first.
  std::vector<std::string> rows(wads.size()), notes(wads.size());
  // Erased (by its end) before the table is written.
  std::optional<ProgressLine> progress;
  progress.emplace(context.err, context.errIsTerminal, wads.size(), "read");
  ParallelFor(wads.size(), arguments.jobs, [&](std::size_t i) {
    rows[i] = summaryRow(wads[i], notes[i]);
    progress->step();
  });
  progress.reset();

  for (const std::string& note : notes) context.err << note;
  context.out << kHeader << "\n";
  for (const std::string& row : rows) context.out << row << "\n";
  return context.out ? kExitOk : kExitFailure;
}

}  // namespace tarnlow::cli
