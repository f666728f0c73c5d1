#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnlow {

// Decodes the character that starts at text[i] and advances i past it.
// Returns nothing, and leaves i where it was, for a malformed sequence: a
// stray continuation byte, a truncated sequence, an overlong form, a
// surrogate or a value beyond U+10FFFF. Precondition: i < text.size().
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i);

// Appends `c` (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace tarnlow
