#include "cli/copy_command.h"

#include "wad/wad_writer.h"

namespace tarnlow::cli {

int RunCopy(const CommandContext& context) {
  const std::vector<std::string>& args = context.args;
  for (const std::string& a : args) {
    if (a.size() > 1 && a[0] == '-') return UsageError(context.err, "copy: unknown option " + a);
  }
  if (args.size() != 2) return UsageError(context.err, "copy: expected an input and an output WAD");

  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(args[0]), context.err);
  if (!document) return kExitBadWad;
  try {
    WriteWAD(PathFromUtf8(args[1]), *document);
  } catch (const WadError& e) {
    context.err << "copy: cannot write " << args[1] << ": " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tarnlow::cli
