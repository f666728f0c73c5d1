#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "report/report.h"
#include "sound/sound_files.h"
#include "ui/platform.h"
#include "wad/object_names.h"
#include "wad/swd_document.h"
#include "wad/wad_document.h"

namespace tarnlow::ui {

// The state of one run of the window: the documents, the paths of the
// current files and the report settings. The window owns one; the
// operations read and change it.
struct Session {
  bool FirstActivation = true;
  std::string WadFileName;
  std::string WadTitle;
  std::string WadFolder;
  std::string SwdPath;
  bool WadLoaded = false;  // never reset: a later open replaces the document
  std::int32_t DetailLevel = 0;
  std::string ReportFileName;  // lower case; empty until the first report save
  WindowSettings settings;     // as saved by the last run, then as the user sets them
  std::string cutShortFile;    // the file the held WAD was read from, when it was cut short

  WadDocument wad;
  std::int64_t wadFileLength = 0;
  SwdDocument swd;
  ObjectNameTables names;
  SoundSet sounds;  // the sound files beside the WAD, as read when it opened

  // The clock the report reads; local time unless a test fixes it.
  std::function<LocalDateTime()> clock;
};

// The report context of the session's current WAD.
ReportContext ReportContextOf(const Session& session);

}  // namespace tarnlow::ui
