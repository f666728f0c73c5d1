#pragma once

#include <QWidget>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "anim/finding.h"
#include "sound/sound_files.h"
#include "ui/sound_list.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace tarnlow::ui {

class Platform;

// The Sounds page beside the object view: every slot of the WAD's sound
// table with how it plays and who plays it, the animations that play the
// selected slot, and a Play button that plays one of its samples.
class SoundsPage : public QWidget {
  Q_OBJECT

 public:
  SoundsPage(Platform& platform, QWidget* parent = nullptr);

  // Lists the slots of `sounds` (the sound files read beside `document`).
  // Without a sound table the page says so. Never fails.
  void showSounds(const SoundSet& sounds, const WadDocument& document, const ObjectNameTables& names);
  // Empties the page (a WAD is being replaced).
  void clear();
  // Where Play finds the samples; nothing when no folder is known.
  void setSamplesFolder(std::optional<std::filesystem::path> folder);
  // Fixes which of a slot's samples Play takes: given the count, an index
  // below it (tests). Random otherwise, as the game picks.
  void setSamplePicker(std::function<std::size_t(std::size_t)> pick) { pickSample_ = std::move(pick); }

  // Plays one of the selected slot's samples through the platform, or
  // says why it cannot; a double-click on a slot does the same.
  void playSelected();

  QLabel* lblSounds = nullptr;
  QTreeWidget* lstSounds = nullptr;
  QLabel* lblSoundUses = nullptr;
  QListWidget* lstSoundUses = nullptr;
  QPushButton* cmdPlaySound = nullptr;

 Q_SIGNALS:
  // The user picked an animation that plays the selected slot: show it at
  // the frame the sound starts.
  void useChosen(const Finding& finding);

 private:
  void showUses();
  void updateHeading();
  const SoundListRow* selectedRow() const;

  Platform& platform_;
  SoundTable table_;
  std::vector<SoundListRow> rows_;
  std::string filesText_;
  std::optional<std::filesystem::path> folder_;
  std::function<std::size_t(std::size_t)> pickSample_;
};

}  // namespace tarnlow::ui
