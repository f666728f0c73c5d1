#include <array>

#include "anim/animation_graph.h"
#include "check/rules.h"
#include "check/weigh.h"

namespace tarnlow {

namespace {

// The document's section for each of the file's counted sections, as the
// findings name it.
constexpr std::array<const char*, kWadSections> kSectionOf = {
    "TextInfo",       "TextData",     "MeshPointers", "MeshData", "Animations", "StateChanges",
    "AnimDispatches", "AnimCommands", "MeshTrees",    "Frames",   "Moveables",  "StaticMeshes"};

// What refers into each section, when something does: an empty section is
// an error only then.
std::array<std::string, kWadSections> needs(const CheckContext& context) {
  const WadDocument& doc = context.doc();
  std::array<std::string, kWadSections> who{};
  const auto need = [&who](WadSection s, std::string why) {
    if (who[s].empty()) who[s] = std::move(why);
  };
  if (context.usage().facesShowTextures) need(kSectionTextInfo, "faces name texture-info records");
  if (doc.TextInfo.size() > 0) need(kSectionTextData, "texture-info records name texture pages");
  if (doc.StaticMeshes.size() > 0) need(kSectionMeshPointers, "static meshes name mesh pointers");
  if (doc.MeshPointers.size() > 0) need(kSectionMeshData, "mesh pointers point into it");
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    if (context.standsForZeros(m)) continue;
    const MoveableRecord moveable = doc.Moveables[m];
    const std::string object = "object " + std::to_string(m);
    if (moveable.NumMeshes > 0) need(kSectionMeshPointers, object + " has meshes");
    if (moveable.NumMeshes > 1) need(kSectionMeshTrees, object + " has more than one mesh");
    if (ReadAnimationRef(moveable).firstAnimation >= 0) need(kSectionAnimations, object + " has animations");
  }
  for (std::size_t a = 0; a < doc.Animations.size(); ++a) {
    const AnimationRecord animation = doc.Animations[a];
    const std::string name = "animation " + std::to_string(a);
    if (animation.NumStateChanges > 0) need(kSectionStateChanges, name + " names state changes");
    if (animation.AnimCommandCount > 0) need(kSectionAnimCommands, name + " has commands");
    if (!IsEmptySlot(animation)) need(kSectionFrames, name + " has frames");
  }
  for (std::size_t s = 0; s < doc.StateChanges.size(); ++s) {
    if (doc.StateChanges[s].NumAnimDispatched > 0) {
      need(kSectionAnimDispatches, "state change " + std::to_string(s) + " has dispatches");
    }
  }
  return who;
}

}  // namespace

void CheckSections(CheckContext& context) {
  const WadReading& reading = context.doc().reading;
  // A document made in memory (not read from a file) has no reading to
  // judge; every file a reader takes is longer than nothing.
  if (reading.fileLength == 0) return;
  const std::array<std::string, kWadSections> who = needs(context);
  for (int s = 0; s < kWadSections; ++s) {
    const SectionReading& section = reading.sections[static_cast<std::size_t>(s)];
    const std::string count = kWadSectionNames[static_cast<std::size_t>(s)];
    const char* name = kSectionOf[static_cast<std::size_t>(s)];
    switch (section.state) {
      case SectionState::Whole:
        break;
      case SectionState::Empty:
        // Objects without textures, statics-only WADs and outfit packs
        // without state changes are what builders make: harmless unless
        // something refers into the empty section. No static meshes is
        // normal.
        if (s == kSectionStaticMeshes) break;
        if (!who[static_cast<std::size_t>(s)].empty()) {
          context.add(Severity::Error, "section-empty-needed", name, -1,
                      count + " is " + std::to_string(section.claimed) + ": the section is empty, but " +
                          who[static_cast<std::size_t>(s)]);
        } else {
          context.add(
              Severity::Note, "section-empty", name, -1,
              count + " is " + std::to_string(section.claimed) + ": the section is empty, and nothing needs it");
        }
        break;
      case SectionState::Short:
        context.add(Severity::Error, "section-short", name, -1,
                    "the file ends at byte " + std::to_string(reading.fileLength) + ", inside the section: " +
                        std::to_string(section.held) + " of its " + std::to_string(section.claimed) + " are there");
        break;
      case SectionState::Missing:
        context.add(Severity::Error, "section-missing", name, -1,
                    "the file ends at byte " + std::to_string(reading.fileLength) + ", before " + count);
        break;
    }
  }
  if (reading.trailingBytes > 0) {
    context.add(Severity::Note, "trailing-bytes", "StaticMeshes", -1,
                std::to_string(reading.trailingBytes) + " bytes follow the last section; nothing reads them");
  }
}

}  // namespace tarnlow
