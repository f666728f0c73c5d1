#include "check/weigh.h"

#include <algorithm>
#include <map>

#include "anim/animation_graph.h"
#include "anim/animation_state.h"
#include "anim/key_frame.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

// Why a record is not in use, for the sections whose records can be
// unused; nothing when it is used (or its section has no such notion).
const char* unusedReason(const Usage& usage, const Finding& f) {
  if (f.record < 0) return nullptr;
  const auto r = static_cast<std::size_t>(f.record);
  const auto unused = [r](const std::vector<bool>& used) { return r < used.size() && !used[r]; };
  if (f.section == "TextInfo" && unused(usage.textInfo)) return "no face uses it";
  if (f.section == "StateChanges" && unused(usage.stateChanges)) return "no animation covers it";
  if (f.section == "AnimDispatches" && unused(usage.dispatches)) return "no state change in use covers it";
  if (f.section == "MeshPointers" && unused(usage.meshPointers)) return "no object or static mesh uses it";
  return nullptr;
}

// What leads to each empty slot first: a moveable's first animation, a
// non-empty animation's NextAnimation, or a used dispatch.
std::map<std::int64_t, std::string> referencedEmptySlots(const CheckContext& context, const std::vector<bool>& empty) {
  const WadDocument& doc = context.doc();
  std::map<std::int64_t, std::string> referrers;
  const auto refer = [&](std::int64_t target, std::string who) {
    if (Inside(target, empty.size()) && empty[static_cast<std::size_t>(target)])
      referrers.try_emplace(target, std::move(who));
  };
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    refer(ReadAnimationRef(doc.Moveables[m]).firstAnimation, "it is its object's first animation");
  }
  for (std::size_t a = 0; a < doc.Animations.size(); ++a) {
    if (empty[a]) continue;
    const std::int64_t next = doc.Animations[a].NextAnimation;
    if (next != static_cast<std::int64_t>(a))
      refer(next, "animation " + str(static_cast<std::int64_t>(a)) + " leads to it");
  }
  for (std::size_t d = 0; d < doc.AnimDispatches.size(); ++d) {
    if (!context.usage().dispatches[d]) continue;
    refer(doc.AnimDispatches[d].NextAnimation, "dispatch " + str(static_cast<std::int64_t>(d)) + " leads to it");
  }
  return referrers;
}

}  // namespace

bool IsEmptySlot(const AnimationRecord& animation) {
  return DescribeAnimationState(animation).kind == AnimationState::Empty;
}

void WeighByUse(const CheckContext& context, std::vector<Finding>& findings) {
  const WadDocument& doc = context.doc();
  std::vector<bool> empty(doc.Animations.size());
  bool anyEmpty = false;
  for (std::size_t a = 0; a < empty.size(); ++a) anyEmpty |= (empty[a] = IsEmptySlot(doc.Animations[a]));

  std::vector<Finding> weighed;
  weighed.reserve(findings.size());
  for (Finding& f : findings) {
    if (anyEmpty && f.section == "Animations" && Inside(f.record, empty.size()) &&
        empty[static_cast<std::size_t>(f.record)]) {
      continue;  // an empty slot's own faults are told as the slot, below
    }
    if (f.severity != Severity::Note) {
      if (const char* reason = unusedReason(context.usage(), f)) {
        f.severity = Severity::Note;
        f.problem = std::string("unused (") + reason + "): " + f.problem;
      }
    }
    weighed.push_back(std::move(f));
  }
  if (anyEmpty) {
    const std::map<std::int64_t, std::string> referred = referencedEmptySlots(context, empty);
    for (const auto& [slot, who] : referred) {
      Finding f{
          Severity::Error,      "Animations", slot, "empty, but used: " + who, {},
          context.ownerOf(slot)};
      f.rule = "empty-slot-used";
      f.animation = slot;
      weighed.push_back(std::move(f));
    }
    // Unreferenced empty slots: one note per object, one for the slots of
    // no object.
    std::map<std::optional<std::size_t>, std::vector<std::int64_t>> idle;
    for (std::size_t a = 0; a < empty.size(); ++a) {
      const auto slot = static_cast<std::int64_t>(a);
      if (empty[a] && !referred.contains(slot)) idle[context.ownerOf(slot)].push_back(slot);
    }
    for (const auto& [owner, slots] : idle) {
      std::int64_t base = 0;
      if (owner) base = ObjectAnimationRange(doc, *owner).first;
      const bool one = slots.size() == 1;
      Finding f{Severity::Note,
                "Animations",
                -1,
                one ? "1 empty animation slot: " + str(slots.front() - base)
                    : str(static_cast<std::int64_t>(slots.size())) + " empty animation slots between " +
                          str(slots.front() - base) + " and " + str(slots.back() - base),
                {},
                owner};
      f.rule = "empty-slots";
      weighed.push_back(std::move(f));
    }
  }
  findings = std::move(weighed);
}

}  // namespace tarnlow
