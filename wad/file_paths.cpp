#include "wad/file_paths.h"

namespace tarnlow {

namespace {

// Position just after the last separator, 0 when there is none.
std::size_t nameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string FileTitle(std::string_view path, bool keepExtension) {
  std::string_view name = path.substr(nameStart(path));
  if (!keepExtension) {
    // The last dot of the name, even a leading one: ".wad" has an empty title.
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
  }
  return std::string(name);
}

std::string FolderOf(std::string_view path) { return std::string(path.substr(0, nameStart(path))); }

std::string SwdPathFor(std::string_view wadPath) { return FolderOf(wadPath) + FileTitle(wadPath, false) + ".swd"; }

std::string LowerCaseName(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + ('a' - 'A'));
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00C0 to U+00DE are C3 80 to C3 9E; their lower forms C3 A0 to
      // C3 BE. U+00D7 (multiplication sign) is no letter.
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) {
        out[i + 1] = static_cast<char>(next + 0x20);
        ++i;
      }
    }
  }
  return out;
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string spelled = path.u8string();
  return std::string(spelled.begin(), spelled.end());
}

}  // namespace tarnlow
