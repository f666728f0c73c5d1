#include "ui/sys_info.h"

#include <string>

#include "ui/platform.h"
#include "ui/registry.h"

namespace tarnlow::ui {

void StartSysInfo(Platform& platform) {
  std::string path;
  std::string folder;
  bool found = GetKeyValue(platform.Registry(), kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                           "PATH", path);
  if (!found && GetKeyValue(platform.Registry(), kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                            "MSINFO", folder)) {
    path = folder + "\\MSINFO32.EXE";
    found = platform.FileExists(path);
  }
  if (found && platform.StartProgram(path)) return;
  platform.ShowMessage("System Information Is Unavailable At This Time", kAppTitle, MessageButtons::Ok,
                       MessageIcon::None);
}

}  // namespace tarnlow::ui
