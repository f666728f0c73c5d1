#include "ui/sample_player.h"

// The one place the two systems differ in playing a sample.
#ifdef _WIN32

#include <windows.h>
#include <mmsystem.h>

namespace tarnlow::ui {

// Windows's call keeps its own state: nothing to hold.
struct SamplePlayer::Engine {};

SamplePlayer::SamplePlayer() = default;

// A sample still playing would go on after the window is gone.
SamplePlayer::~SamplePlayer() { PlaySoundW(nullptr, nullptr, 0); }

bool SamplePlayer::play(const std::filesystem::path& file) {
  // Asynchronous, the call says yes before it looks for the file.
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  // The name crosses as UTF-16, so any file name plays. Without
  // SND_NODEFAULT a file that cannot be played would sound the system's
  // default beep instead and still count as played.
  return PlaySoundW(file.wstring().c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

}  // namespace tarnlow::ui

#else

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "ui/qt_text.h"

namespace tarnlow::ui {

struct SamplePlayer::Engine {
  QSoundEffect effect;
};

SamplePlayer::SamplePlayer() = default;
SamplePlayer::~SamplePlayer() = default;

bool SamplePlayer::play(const std::filesystem::path& file) {
  const QFileInfo info(ToQString(Utf8FromPath(file)));
  if (!info.isFile() || !info.isReadable()) return false;
  if (QMediaDevices::defaultAudioOutput().isNull()) return false;
  // Made on first use: a window that never plays a sample opens no audio.
  if (!engine_) engine_ = std::make_unique<Engine>();
  engine_->effect.stop();
  engine_->effect.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
  engine_->effect.play();
  return engine_->effect.status() != QSoundEffect::Error;
}

}  // namespace tarnlow::ui

#endif
