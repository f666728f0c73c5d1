#pragma once

#include <cstdint>
#include <string>

namespace tarnlow {

// Appending forms of FormatNum and FormatHex, for building long report lines
// without a temporary string per number. Never fail.
void AppendNum(std::string& out, std::int64_t value);
void AppendHex(std::string& out, std::int32_t value);
// Plain decimal without grouping ("130", "-5").
void AppendDecimal(std::string& out, std::int64_t value);
// `value` as exactly `width` digits, zero-padded ("05"); wider values in full.
void AppendPadded(std::string& out, std::int64_t value, int width);

}  // namespace tarnlow
