#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tarnlow::ui {

// The level kit's own samples folder for the WAD at `wadPath`: KIT/sound/
// samples when the WAD lies in KIT/graphics/wads, each folder matched in
// any letter case. Nothing when the WAD lies elsewhere or the folder does
// not exist.
std::optional<std::filesystem::path> KitSamplesFolder(const std::filesystem::path& wadPath);

// The folder samples are played from: `chosen` (the user's setting, UTF-8)
// when it is set, else the kit's own folder for `wadPath`; nothing when
// neither is known.
std::optional<std::filesystem::path> SamplesFolder(const std::string& chosen, const std::filesystem::path& wadPath);

}  // namespace tarnlow::ui
