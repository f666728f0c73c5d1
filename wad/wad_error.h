#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tarnlow {

// Error numbers that reach the user. Opening a file that cannot be opened
// reports the platform's own number (errno) instead.
enum ErrorNumber : int {
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
};

// The one failure type of the core: an error number, a description a person
// can act on, and where it happened ("NumAnimations at byte 1234").
class WadError : public std::runtime_error {
 public:
  WadError(int number, std::string description, std::string where = {})
      : std::runtime_error(where.empty() ? description : description + " (" + where + ")"),
        number_(number),
        description_(std::move(description)),
        where_(std::move(where)) {}

  int number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const std::string& where() const noexcept { return where_; }

 private:
  int number_;
  std::string description_;
  std::string where_;
};

// The platform's own error `number` (an errno value) with its text, for the
// file at `path`.
[[noreturn]] inline void ThrowSystemError(int number, const std::filesystem::path& path) {
  throw WadError(number, std::generic_category().message(number), path.string());
}

}  // namespace tarnlow
