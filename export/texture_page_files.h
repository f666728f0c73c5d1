#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "wad/record_array.h"
#include "wad/wad_records.h"

namespace tarnlow {

// The file name of texture page `index`: "page_000.png", "page_001.png", ...
std::string TexturePageFileName(std::size_t index);

// Writes every 256 x 256 page of a texture section (the last one as short as
// its rows) as a PNG file `folder`/TexturePageFileName(i), creating `folder`
// when it is missing, and calls `written` with each file's path once it is
// complete. Throws WadError: the system's error number and text when the
// folder cannot be made or a file cannot be written (the files written before
// stay, an existing file of that name is left as it was); kOutOfMemory when
// a page cannot be encoded.
void WriteTexturePages(const RecordArray<TextureRow>& section, const std::filesystem::path& folder,
                       const std::function<void(const std::filesystem::path&)>& written);

}  // namespace tarnlow
