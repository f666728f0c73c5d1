#include "ui/merge_input.h"

#include "sound/sound_files.h"
#include "sound/sound_table.h"
#include "wad/input_file.h"

namespace tarnlow::ui {

std::shared_ptr<const MergeInput> LoadMergeInput(const std::filesystem::path& path, WadDocument document) {
  auto input = std::make_shared<MergeInput>();
  input->path = path;
  input->document = std::move(document);
  SoundSet set = LoadSoundFiles(path);
  input->failures = std::move(set.failures);
  if (set.sounds) input->sounds = std::make_shared<const SoundTable>(std::move(set.sounds->table));
  // Taken again as text only when the set's reader took it: that reader
  // leaves out files too large to be a .was.
  if (set.paths.was && set.objects) {
    try {
      InputFile file(*set.paths.was);
      const Bytes bytes = file.take(file.size());
      input->objectList = std::string(bytes.begin(), bytes.end());
    } catch (const WadError& error) {
      input->failures.push_back(set.paths.was->filename().string() + ": " + error.what());
    }
  }
  return input;
}

}  // namespace tarnlow::ui
