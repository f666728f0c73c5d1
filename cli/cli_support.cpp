#include "cli/cli_support.h"

#include <charconv>
#include <new>
#include <system_error>

#include "wad/atomic_file.h"
#include "wad/wad_reader.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarnlow::cli {

namespace {

std::filesystem::path ownExecutable() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::filesystem::path(buffer.substr(0, length));
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path{} : exe;
#endif
}

}  // namespace

std::filesystem::path ProgramFolder(const char* argv0) {
  std::filesystem::path exe = ownExecutable();
  if (exe.empty() && argv0 != nullptr && *argv0 != '\0') {
    std::error_code ec;
    exe = std::filesystem::absolute(argv0, ec);
    if (ec) exe.clear();
  }
  if (exe.has_parent_path()) return exe.parent_path();
  std::error_code ec;
  return std::filesystem::current_path(ec);
}

std::string ReadWadMessage(const WadError& error) {
  const std::string blank = error.number() >= 0 ? " " : "";
  return "ReadWAD -> error code" + blank + std::to_string(error.number()) + "\n" + error.what();
}

std::optional<WadDocument> ReadWadOrReport(const std::filesystem::path& path, std::ostream& err, ReadMode mode) {
  try {
    std::int64_t wadFileLength = 0;
    if (mode == ReadMode::Specified) return ReadWAD(path, wadFileLength);
    WadDocument document = ReadWADLenient(path, wadFileLength);
    err << ReadingNote(Utf8FromPath(path), document.reading);
    return document;
  } catch (const WadError& e) {
    err << ReadWadMessage(e) << "\n";
  } catch (const std::bad_alloc&) {
    err << ReadWadMessage(WadError(kOutOfMemory, "Out of memory", path.string())) << "\n";
  }
  return std::nullopt;
}

std::string ReadingNote(const std::string& path, const WadReading& reading) {
  const std::string description = DescribeReading(reading);
  return description.empty() ? std::string() : "note: " + path + ": " + description + "\n";
}

std::optional<std::int64_t> ParseIndex(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

int WriteOutputFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, const char* command,
                    std::ostream& err) {
  try {
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
  } catch (const WadError& e) {
    err << command << ": cannot write " << path.string() << ": " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

bool ReadSamplesOption(const std::optional<std::string>& option, const char* command, std::ostream& err,
                       std::optional<SampleFolder>& folder) {
  folder.reset();
  if (!option) return true;
  folder = SampleFolder::Read(PathFromUtf8(*option));
  if (!folder) err << command << ": cannot read the samples folder " << *option << "\n";
  return folder.has_value();
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "tarnlow-cli: " << message << "\n"
      << "Run 'tarnlow-cli help' for the commands and their arguments.\n";
  return kExitUsage;
}

}  // namespace tarnlow::cli
