#include "tests/support/wad_fields.h"

#include "tests/support/wad_builder.h"

namespace tarnlow::test {

WadDocument WadFields::build() const {
  WadBuilder b;
  b.meshes(meshes)
      .moveables(moveables)
      .meshTrees(meshTrees)
      .animations(animations)
      .stateChanges(stateChanges)
      .animDispatches(dispatches)
      .animCommands(commands)
      .frames(frames)
      .textInfo(textInfo)
      .staticMeshes(statics);
  if (pageRows.empty()) b.textureRows(1);
  if (!pointers.empty()) b.meshPointers(pointers);
  WadDocument document = b.build();
  if (!pageRows.empty()) {
    document.NumTextData = static_cast<std::int32_t>(pageRows.size());
    document.TextData = RecordArray<TextureRow>(pageRows.size() / TextureRow::kFileSize, pageRows);
  }
  return document;
}

}  // namespace tarnlow::test
