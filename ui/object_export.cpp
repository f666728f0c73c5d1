#include "ui/object_export.h"

#include <QBuffer>
#include <QImage>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <vector>

#include "anim/posed_obj.h"
#include "mesh/mesh_decoder.h"
#include "export/gltf_export.h"
#include "export/obj_export.h"
#include "mesh/static_meshes.h"
#include "ui/object_view_widget.h"
#include "ui/platform.h"
#include "wad/atomic_file.h"
#include "wad/file_paths.h"
#include "wad/wad_error.h"

namespace tarnlow::ui {

namespace {

enum class Kind { Glb, Gltf, Obj, Png };

// In the order of kViewExportFilter.
constexpr std::array<std::pair<const char*, Kind>, 4> kKinds = {
    {{".glb", Kind::Glb}, {".gltf", Kind::Gltf}, {".obj", Kind::Obj}, {".png", Kind::Png}}};

// The kind a name's extension says, or the chosen filter's kind with its
// extension added: Qt's own dialog adds none, and a file without one would
// open nowhere.
std::pair<std::filesystem::path, Kind> Target(const FileDialogAnswer& answer) {
  std::filesystem::path path = PathFromUtf8(answer.path);
  std::string extension = Utf8FromPath(path.extension());
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [known, kind] : kKinds) {
    if (extension == known) return {path, kind};
  }
  const bool listed = answer.filterIndex >= 1 && static_cast<std::size_t>(answer.filterIndex) <= kKinds.size();
  const auto& [added, kind] = kKinds[listed ? static_cast<std::size_t>(answer.filterIndex - 1) : 0];
  path += added;
  return {path, kind};
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> ObjBytes(const ObjectViewWidget& view, const std::string& title) {
  const WadDocument& document = view.document();
  if (view.currentPose()) return Bytes(PosedObjectToObj(document, *view.currentPose(), title));
  const StaticMeshEntry entry = ReadStaticMeshEntry(document, *view.staticMesh());
  MeshResult<MeshRecord> mesh = ReadMesh(document, entry.Mesh);
  if (const auto* failure = std::get_if<MeshFailure>(&mesh)) {
    throw WadError(failure->kind == MeshFailureKind::Overflow ? kOverflow : kSubscriptOutOfRange, Describe(*failure),
                   title);
  }
  return Bytes(MeshToObj(std::get<MeshRecord>(mesh), title));
}

// The object with all its animations, or the static mesh; what had to be
// left out goes to `notes`.
std::vector<std::uint8_t> GltfBytes(const ObjectViewWidget& view, Kind kind, const std::string& title,
                                    std::vector<std::string>& notes) {
  const GltfContainer container = kind == Kind::Glb ? GltfContainer::Binary : GltfContainer::Json;
  std::variant<GltfExport, Finding> exported =
      view.staticMesh() ? ExportStaticGltf(view.document(), *view.staticMesh(), container, title)
                        : ExportObjectGltf(view.document(), *view.moveable(), container, title);
  if (const auto* problem = std::get_if<Finding>(&exported)) {
    throw WadError(kSubscriptOutOfRange, FormatFinding(*problem));
  }
  GltfExport& done = std::get<GltfExport>(exported);
  notes = std::move(done.notes);
  return std::move(done.bytes);
}

std::vector<std::uint8_t> PngBytes(const ObjectViewWidget& view) {
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  if (!view.picture().save(&buffer, "PNG")) throw WadError(kOutOfMemory, "the picture cannot be encoded as PNG");
  return {encoded.begin(), encoded.end()};
}

// `title` as a file name: the name file is the user's to edit, and a
// character that no Windows file name may hold would make the dialog refuse
// the name it suggested.
std::string FileNameOf(const std::string& title) {
  constexpr std::string_view kForbidden = "<>:\"/\\|?*";
  std::string name;
  for (const char c : title) {
    const bool forbidden = static_cast<unsigned char>(c) < 32 || kForbidden.find(c) != std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

}  // namespace

void ExportObjectView(Platform& platform, const ObjectViewWidget& view, const std::string& title,
                      const std::string& folder) {
  if (!view.hasObject()) return;
  FileDialogRequest request;
  request.title = "Export";
  request.filter = kViewExportFilter;
  request.initialName = FileNameOf(title);
  request.initialFolder = folder;
  request.overwritePrompt = true;
  request.pathMustExist = true;
  const std::optional<FileDialogAnswer> answer = platform.SaveFileDialog(request);
  if (!answer) return;
  const auto [path, kind] = Target(*answer);
  std::vector<std::string> notes;
  try {
    std::vector<std::uint8_t> bytes;
    switch (kind) {
      case Kind::Glb:
      case Kind::Gltf:
        bytes = GltfBytes(view, kind, title, notes);
        break;
      case Kind::Obj:
        bytes = ObjBytes(view, title);
        break;
      case Kind::Png:
        bytes = PngBytes(view);
        break;
    }
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
  } catch (const WadError& e) {
    platform.ShowMessage("The export could not be written to " + Utf8FromPath(path) + ":\n" + e.what(), kAppTitle,
                         MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  if (notes.empty()) return;
  // A long list would hide the buttons; the command line prints them all.
  constexpr std::size_t kShown = 6;
  std::string text = Utf8FromPath(path) + " was written, with these notes:";
  for (std::size_t i = 0; i < notes.size() && i < kShown; ++i) text += "\n" + notes[i];
  if (notes.size() > kShown) text += "\n(and " + std::to_string(notes.size() - kShown) + " more)";
  platform.ShowMessage(text, kAppTitle, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace tarnlow::ui
