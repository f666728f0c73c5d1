#include "report/number_format.h"

#include <charconv>
#include <cstddef>

#include "report/report.h"

namespace tarnlow {

namespace {

// Room for every 64-bit value in any of the forms below.
constexpr std::size_t kBufferSize = 32;

}  // namespace

void AppendNum(std::string& out, std::int64_t value) {
  // The magnitude in unsigned arithmetic, so that INT64_MIN has one too.
  const bool negative = value < 0;
  const std::uint64_t magnitude =
      negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char digits[kBufferSize];
  const char* const end = std::to_chars(digits, digits + kBufferSize, magnitude).ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits);

  // "### ### ##0" from the right: the digits beyond six (all of them when
  // more than nine), a space, the middle group, a space, the last group. The
  // two spaces always stand. A negative value keeps the pattern's spaces and
  // puts its minus sign directly in front of the first digit: -5 gives
  // "  -5", -1234 gives " -1 234".
  const std::size_t high = count > 6 ? count - 6 : 0;
  const std::size_t middle = count > 3 ? count - 3 - high : 0;
  const std::size_t low = count - high - middle;
  char buffer[kBufferSize + 4];
  char* p = buffer;
  const char* d = digits;
  auto sign = [&](std::size_t groupSize) {
    if (negative && groupSize > 0 && d == digits) *p++ = '-';
  };
  sign(high);
  for (std::size_t i = 0; i < high; ++i) *p++ = *d++;
  *p++ = ' ';
  sign(middle);
  for (std::size_t i = 0; i < middle; ++i) *p++ = *d++;
  *p++ = ' ';
  sign(low);
  for (std::size_t i = 0; i < low; ++i) *p++ = *d++;
  out.append(buffer, static_cast<std::size_t>(p - buffer));
}

void AppendHex(std::string& out, std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  char buffer[8];
  char* p = buffer + sizeof buffer;
  do {
    *--p = kDigits[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  out.append(p, static_cast<std::size_t>(buffer + sizeof buffer - p));
}

void AppendDecimal(std::string& out, std::int64_t value) {
  char buffer[kBufferSize];
  const char* const end = std::to_chars(buffer, buffer + kBufferSize, value).ptr;
  out.append(buffer, static_cast<std::size_t>(end - buffer));
}

void AppendPadded(std::string& out, std::int64_t value, int width) {
  char buffer[kBufferSize];
  const char* const end = std::to_chars(buffer, buffer + kBufferSize, value).ptr;
  const auto length = static_cast<int>(end - buffer);
  if (value >= 0 && length < width) out.append(static_cast<std::size_t>(width - length), '0');
  out.append(buffer, static_cast<std::size_t>(length));
}

std::string FormatNum(std::int64_t value) {
  std::string out;
  AppendNum(out, value);
  return out;
}

std::string FormatHex(std::int32_t value) {
  std::string out;
  AppendHex(out, value);
  return out;
}

}  // namespace tarnlow
