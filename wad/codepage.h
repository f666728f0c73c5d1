#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnlow {

// Windows-1252 to UTF-8, one character per byte. The five bytes that
// Windows-1252 leaves undefined map to the C1 control of the same number,
// as Windows itself does.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. Returns nothing when the text holds a character
// that Windows-1252 cannot encode or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

}  // namespace tarnlow
