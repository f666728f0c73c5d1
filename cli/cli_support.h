#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "sound/sample_folder.h"
#include "wad/file_paths.h"
#include "wad/wad_document.h"
#include "wad/wad_error.h"

namespace tarnlow::cli {

// Exit statuses of tarnlow-cli.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailure = 1,  // a file could not be written, or some other step failed
  kExitBadWad = 2,   // the WAD could not be read
  kExitUsage = 64,   // the command line was wrong (BSD's EX_USAGE)
};

// What a command gets: its own arguments (without the command name), the two
// output streams and the folder of the executable.
struct CommandContext {
  std::vector<std::string> args;
  std::ostream& out;
  std::ostream& err;
  std::filesystem::path programFolder;
  bool errIsTerminal = false;  // a progress line on `err` would be seen, not stored
};

// The folder that holds the running executable: /proc/self/exe on Linux,
// GetModuleFileNameW on Windows, else the folder of argv[0] made absolute.
// Never fails: at worst it is the current folder.
std::filesystem::path ProgramFolder(const char* argv0);

// The text the window shows for a WAD that cannot be read: "ReadWAD -> error
// code", the number with one blank before a non-negative one, a line feed,
// and the description with where it happened.
std::string ReadWadMessage(const WadError& error);

// How a command reads its WAD: as the window does, refusing empty sections
// and cut files, or as far as the file goes (ReadWADLenient).
enum class ReadMode { Specified, Lenient };

// Reads a WAD for a command. On failure writes ReadWadMessage to `err` and
// returns nothing; the command then exits with kExitBadWad. A lenient
// reading that met empty, short or missing sections says so once on `err`
// (ReadingNote) and returns the document.
std::optional<WadDocument> ReadWadOrReport(const std::filesystem::path& path, std::ostream& err,
                                           ReadMode mode);

// "note: PATH: empty: NumStateChanges; ..." with a line break, or nothing
// when the file was read whole without empty sections.
std::string ReadingNote(const std::string& path, const WadReading& reading);

// A whole non-negative decimal number; nothing for anything else ("-1",
// "3x", "", a number beyond 64 bits).
std::optional<std::int64_t> ParseIndex(std::string_view text);

// Writes `bytes` to `path` through an atomic file, so that a failed write
// leaves any older file whole. On failure says "<command>: cannot write
// <path>: <reason>" on `err` and returns kExitFailure; else kExitOk.
int WriteOutputFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, const char* command,
                    std::ostream& err);

// The samples folder a --samples option names, read into `folder`; nothing
// when the option was not given. When the folder cannot be read, says
// "<command>: cannot read the samples folder <dir>" on `err` and returns false.
bool ReadSamplesOption(const std::optional<std::string>& option, const char* command, std::ostream& err,
                       std::optional<SampleFolder>& folder);

// Writes "tarnlow-cli: <message>" and a hint to run help; returns kExitUsage.
int UsageError(std::ostream& err, const std::string& message);

}  // namespace tarnlow::cli
