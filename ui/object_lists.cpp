#include "ui/object_lists.h"

#include <QListWidget>
#include <string>

#include "mesh/mesh_lists.h"
#include "ui/platform.h"
#include "ui/qt_text.h"

namespace tarnlow::ui {

namespace {

// A message box stays readable: the first failures are named, the rest counted.
constexpr std::size_t kMaxNamedFailures = 10;

std::string UnreadableMeshesMessage(const std::vector<MeshListLine>& lines, const std::string& objectName) {
  std::string text = "Some meshes of " + (objectName.empty() ? std::string("this object") : objectName) +
                     " could not be read; their lines are marked:";
  std::size_t named = 0;
  std::size_t failures = 0;
  for (const MeshListLine& line : lines) {
    if (!line.failure) continue;
    ++failures;
    if (named == kMaxNamedFailures) continue;
    ++named;
    text += "\n" + line.text.substr(0, line.text.find(" (")) + ": " + Describe(*line.failure);
  }
  if (failures > named) text += "\n... and " + std::to_string(failures - named) + " more.";
  return text;
}

}  // namespace

void FillObjectList(QListWidget& cboMeshes, const WadDocument& document, const ObjectNameTables& names) {
  cboMeshes.clear();
  QStringList items;
  for (const std::string& name : ObjectListLines(document, names)) items << ToQString(name);
  cboMeshes.addItems(items);
}

void FillMeshList(QListWidget& meshList, Platform& platform, const WadDocument& document,
                  const ObjectNameTables& names, std::size_t moveableIndex) {
  meshList.clear();
  const auto onUnknownFace = [&platform](int face) {
    platform.ShowMessage("Unknown FaceType - Face " + std::to_string(face), kAppTitle, MessageButtons::Ok,
                         MessageIcon::None);
  };
  const std::vector<MeshListLine> lines = MeshListLines(document, moveableIndex, onUnknownFace);
  QStringList items;
  bool anyFailure = false;
  for (const MeshListLine& line : lines) {
    items << ToQString(line.text);
    anyFailure = anyFailure || line.failure.has_value();
  }
  meshList.addItems(items);
  if (!anyFailure) return;
  const std::string* name =
      moveableIndex < document.Moveables.size() ? names.ObjectName(document.Moveables[moveableIndex].ObjectID) : nullptr;
  platform.ShowMessage(UnreadableMeshesMessage(lines, name != nullptr ? *name : std::string()), kAppTitle,
                       MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace tarnlow::ui
