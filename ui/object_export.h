#pragma once

#include <string>

namespace tarnlow::ui {

class ObjectViewWidget;
class Platform;

// The Save dialog's filter for ExportObjectView, one entry per kind of file.
inline constexpr const char* kViewExportFilter =
    "glTF binary, all animations (*.glb)|*.glb|glTF, all animations (*.gltf)|*.gltf|"
    "Wavefront OBJ, this pose (*.obj)|*.obj|PNG picture (*.png)|*.png";

// "Export...": asks for a file with the platform's Save dialog, which starts
// in `folder` (the open WAD's) with a name made from `title`, and writes what `view` shows: the object as glTF or GLB with all
// its animations, the frame shown as OBJ (a static mesh as its one mesh),
// or the picture as PNG. A name ending in one of the filter's extensions says
// the kind; any other name takes the kind of the chosen filter and its
// extension. A cancelled dialog writes nothing. A file that cannot be made
// or written is said in one message box and an existing file of that name
// is left as it was. What a glTF export had to leave out is said in one
// message box after it is written.
void ExportObjectView(Platform& platform, const ObjectViewWidget& view, const std::string& title,
                      const std::string& folder);

}  // namespace tarnlow::ui
