#include "cli/copy_command.h"

#include <filesystem>
#include <system_error>

#include "wad/wad_writer.h"

namespace tarnlow::cli {

int RunCopy(const CommandContext& context) {
  ReadMode mode = ReadMode::Specified;
  std::vector<std::string> args;
  for (const std::string& a : context.args) {
    if (a == "--lenient") {
      mode = ReadMode::Lenient;
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(context.err, "copy: unknown option " + a);
    } else {
      args.push_back(a);
    }
  }
  if (args.size() != 2) return UsageError(context.err, "copy: expected an input and an output WAD");

  // A file cut short is written as far as it was read: a WAD whose counts
  // agree with what it holds, never the bytes it lacked.
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(args[0]), context.err, mode);
  if (!document) return kExitBadWad;
  std::error_code ec;
  if (document->reading.cutShort() && std::filesystem::equivalent(PathFromUtf8(args[0]), PathFromUtf8(args[1]), ec)) {
    context.err << "copy: " << args[0] << " is cut short; written over itself it would lose the bytes of its last, "
                << "partial record. Give another output file.\n";
    return kExitFailure;
  }
  try {
    WriteWAD(PathFromUtf8(args[1]), *document);
  } catch (const WadError& e) {
    context.err << "copy: cannot write " << args[1] << ": " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tarnlow::cli
