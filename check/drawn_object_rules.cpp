#include <string>
#include <variant>

#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "check/rules.h"

namespace tarnlow {

namespace {

// A few units off is normal for a custom outfit on the original
// animations; more means the figure is not what the game collides with.
constexpr double kBoxTolerance = 64;

std::string str(std::int64_t v) { return std::to_string(v); }

void checkBoxes(CheckContext& context, const DrawnObject& object) {
  for (std::size_t a = 0; a < object.graph.animations.size(); ++a) {
    // A broken animation's frames after the first are read from the wrong
    // words; its own finding says so.
    if (object.animationProblems[a] && object.animationProblems[a]->severity != Severity::Warning) continue;
    const AnimationNode& node = object.graph.animations[a];
    int off = 0, worstKey = 0;
    double worst = 0;
    for (int k = 0; k < node.keyFrameCount; ++k) {
      const std::variant<FrameBoxes, Finding> boxes = KeyFrameBoxes(context.doc(), object, node.index, k);
      const auto* judged = std::get_if<FrameBoxes>(&boxes);
      if (judged == nullptr || !judged->difference || *judged->difference <= kBoxTolerance) continue;
      if (off++ == 0 || *judged->difference > worst) {
        worst = *judged->difference;
        worstKey = k;
      }
    }
    if (off == 0) continue;
    context
        .add(Severity::Warning, "key-frame-box", "Animations", node.index,
             str(off) + " of its " + str(node.keyFrameCount) + " key frames lie more than " +
                 str(static_cast<std::int64_t>(kBoxTolerance)) + " units from their stored box (key frame " +
                 str(worstKey) + " by " + str(static_cast<std::int64_t>(worst + 0.5)) + ")",
             {}, object.moveable)
        .frame = FrameNumber(node.record.FrameStart) + std::int64_t{worstKey} * node.frameRate;
  }
}

}  // namespace

void CheckDrawnObjects(CheckContext& context) {
  for (std::size_t m = 0; m < context.doc().Moveables.size(); ++m) {
    const std::variant<DrawnObject, Finding> drawn = DrawObject(context.doc(), m);
    const auto* object = std::get_if<DrawnObject>(&drawn);
    // The moveable rule tells why an object cannot be drawn at all.
    if (object == nullptr) continue;
    bool placeholders = false;
    for (const Finding& finding : object->findings) {
      if (finding.rule != kLaraSkinMissingRule) continue;
      context.pass(finding, {}, m);
      placeholders = true;
    }
    // Placeholders never fit boxes made for the real meshes, and a figure
    // with meshes missing is not the one the box was made for; the note and
    // the mesh findings say why.
    bool whole = object->model.problems.empty();
    for (const Finding& finding : object->skeleton.problems) whole = whole && finding.severity != Severity::Error;
    if (!placeholders && whole) checkBoxes(context, *object);
  }
}

}  // namespace tarnlow
