#pragma once

#include <filesystem>
#include <memory>

namespace tarnlow::ui {

// Plays WAV samples one at a time without waiting for them to end: through
// Windows's own sound call on Windows (its Qt is built without multimedia),
// through Qt Multimedia elsewhere.
class SamplePlayer {
 public:
  SamplePlayer();
  ~SamplePlayer();
  SamplePlayer(const SamplePlayer&) = delete;
  SamplePlayer& operator=(const SamplePlayer&) = delete;

  // Starts playing `file`; a sample still playing stops. False when it
  // cannot be played: the file cannot be read, there is no sound device,
  // or the system refuses it.
  bool play(const std::filesystem::path& file);

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
};

}  // namespace tarnlow::ui
