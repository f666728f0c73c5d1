#include "export/texture_page_files.h"

#include <cstdio>
#include <system_error>

#include "export/png_file.h"
#include "wad/texture_pages.h"
#include "wad/wad_error.h"

namespace tarnlow {

std::string TexturePageFileName(std::size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "page_%03zu.png", index);
  return name;
}

void WriteTexturePages(const RecordArray<TextureRow>& section, const std::filesystem::path& folder,
                       const std::function<void(const std::filesystem::path&)>& written) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) throw WadError(ec.value(), "cannot create the folder: " + ec.message(), folder.string());
  for (std::size_t i = 0, pages = TexturePageCount(section); i < pages; ++i) {
    const TexturePage page = TexturePageAt(section, i);
    const std::filesystem::path target = folder / TexturePageFileName(i);
    WritePngFile(target, TexturePage::kWidth, page.height, page.rgb);
    written(target);
  }
}

}  // namespace tarnlow
