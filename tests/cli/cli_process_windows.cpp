#include "tests/cli/cli_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "tests/support/temp_dir.h"
#include "wad/file_paths.h"

namespace tarnlow::test {

namespace {

// One argument quoted the way CommandLineToArgvW splits it again: a run of
// backslashes is doubled only before a quote, its own or the closing one.
std::wstring quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// One start of `commandLine`, its output into the two files; the exit
// status, or nothing when the process could not be started.
std::optional<DWORD> runOnce(const std::filesystem::path& program, std::wstring commandLine,
                             const std::filesystem::path& outPath, const std::filesystem::path& errPath) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritableFile(outPath);
  startup.hStdError = inheritableFile(errPath);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
  if (!started) return std::nullopt;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  const BOOL exited = GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return exited ? std::optional(status) : std::nullopt;
}

}  // namespace

// Wine now and then fails to start a program, which then ends at once
// without a word (see scripts/wine-run): such a start is made once more.
CliRun RunCliProcess(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& program) {
  const std::filesystem::path outPath = scratch / "cli-stdout.txt";
  const std::filesystem::path errPath = scratch / "cli-stderr.txt";
  std::wstring commandLine = quoted(program.wstring());
  for (const std::string& a : args) commandLine += L" " + quoted(PathFromUtf8(a).wstring());

  CliRun run;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::optional<DWORD> status = runOnce(program, commandLine, outPath, errPath);
    run = {status ? static_cast<int>(*status) : -1, ReadFileText(outPath), ReadFileText(errPath)};
    if (run.status == 0 || !run.out.empty() || !run.err.empty()) return run;
  }
  if (run.status == -1) ADD_FAILURE() << "cannot start " << program;
  return run;
}

}  // namespace tarnlow::test
