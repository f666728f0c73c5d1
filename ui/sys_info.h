#pragma once

namespace tarnlow::ui {

class Platform;

// Starts the system-information program named in the registry: the MSINFO
// "PATH" value as it stands, or else MSINFO32.EXE in the folder of the
// "Shared Tools Location" value when that file exists. When neither is found
// or the start fails, shows "System Information Is Unavailable At This Time".
void StartSysInfo(Platform& platform);

}  // namespace tarnlow::ui
