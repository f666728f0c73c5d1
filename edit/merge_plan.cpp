#include "edit/merge_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "anim/animation_graph.h"
#include "edit/slot_names.h"
#include "wad/file_paths.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

std::string fileName(const std::filesystem::path& path) { return Utf8FromPath(path.filename()); }

class Planner {
 public:
  explicit Planner(const MergeRequest& request) : request_(request) {}

  BuiltPlan run() {
    if (request_.target.document == nullptr) {
      built_.plan.refusals.push_back("no target WAD");
      return std::move(built_);
    }
    refuseCut(request_.target);
    removals();
    for (std::size_t s = 0; s < request_.sources.size(); ++s) {
      const MergeSource& source = request_.sources[s];
      if (source.wad.document == nullptr) {
        built_.plan.refusals.push_back("no source WAD given for " + fileName(source.wad.path));
        continue;
      }
      if (refuseCut(source.wad)) continue;
      for (const ObjectChoice& choice : source.choices) choose(s, choice);
    }
    leads();
    if (!built_.plan.ok()) return std::move(built_);
    assemble();
    return std::move(built_);
  }

 private:
  const WadDocument& target() const { return *request_.target.document; }
  const ObjectNameTables* names() const { return request_.names; }
  std::string name(bool isStatic, std::int32_t slot) const { return SlotName(names(), isStatic, slot); }

  void refuse(std::string why) { built_.plan.refusals.push_back(std::move(why)); }

  // A file that ends before what it claims is refused whole: what it lacks
  // reads as zeros, and a merge would carry those zeros as if they were an
  // object. Returns true when refused.
  bool refuseCut(const MergeWad& wad) {
    if (!wad.document->reading.cutShort()) return false;
    refuse(fileName(wad.path) + " is cut short (" + DescribeReading(wad.document->reading) +
           "): nothing is merged into or out of a file that does not hold all it claims");
    return true;
  }

  // Target positions that leave the result, by kind.
  bool leaves(bool isStatic, std::size_t position) const {
    return (isStatic ? leavingStatics_ : leavingMoveables_).count(position) != 0;
  }

  // The place `choice` picks in `document` (the WAD at `path`); refused
  // when it picks none.
  std::optional<std::size_t> placeOf(const WadDocument& document, const std::filesystem::path& path,
                                     const ObjectChoice& choice) {
    const ListChoice picked = ChooseInList(document, names(), choice.isStatic, choice.name);
    if (!picked.place) {
      const std::string kind = choice.isStatic ? "static" : "object";
      refuse(fileName(path) + (picked.sharing.empty()
                                   ? " has no " + kind + " " + choice.name
                                   : " has " + std::to_string(picked.sharing.size()) + " " + kind + "s named " +
                                         choice.name + ": give the place in the list"));
    }
    return picked.place;
  }

  void removals() {
    for (const ObjectChoice& choice : request_.remove) {
      const auto position = placeOf(target(), request_.target.path, choice);
      if (!position) continue;
      if (!(choice.isStatic ? leavingStatics_ : leavingMoveables_).insert(*position).second) continue;
      const std::int32_t slot = SlotOf(target(), choice.isStatic, *position);
      built_.plan.removed.push_back({choice.isStatic, slot, name(choice.isStatic, slot), false});
    }
  }

  // The target's object (or static) in `slot` that stays, if any.
  std::optional<std::size_t> targetHolding(bool isStatic, std::int32_t slot) const {
    const std::size_t count = isStatic ? target().StaticMeshes.size() : target().Moveables.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (SlotOf(target(), isStatic, i) == slot && !leaves(isStatic, i)) return i;
    }
    return std::nullopt;
  }

  bool movedInto(bool isStatic, std::int32_t slot) const {
    return std::any_of(built_.plan.moved.begin(), built_.plan.moved.end(),
                       [&](const MovedObject& m) { return m.isStatic == isStatic && m.slot == slot; });
  }

  std::optional<std::int32_t> destination(const MergeSource& source, const ObjectChoice& choice, std::int32_t from) {
    switch (choice.placement) {
      case Placement::SameSlot:
        return from;
      case Placement::Slot: {
        if (auto slot = SlotNamed(names(), choice.isStatic, choice.slot)) return slot;
        refuse("there is no " + std::string(choice.isStatic ? "static" : "object") + " slot named " + choice.slot);
        return std::nullopt;
      }
      case Placement::FirstFree:
        for (std::int32_t slot : SlotFamily(names(), choice.isStatic, from)) {
          if (!targetHolding(choice.isStatic, slot) && !movedInto(choice.isStatic, slot)) return slot;
        }
        refuse("no slot of " + name(choice.isStatic, from) + "'s family is free in " +
               fileName(request_.target.path) + " (" + choice.name + " of " + fileName(source.wad.path) + ")");
        return std::nullopt;
    }
    return std::nullopt;
  }

  // Adds a moved object; false (with the reason told) when it cannot go.
  bool place(std::size_t s, bool isStatic, std::size_t position, std::int32_t slot, bool asLead) {
    const MergeSource& source = request_.sources[s];
    const std::int32_t from = SlotOf(*source.wad.document, isStatic, position);
    MovedObject moved;
    moved.isStatic = isStatic;
    moved.sourceIndex = s;
    moved.sourcePosition = position;
    moved.sourceSlot = from;
    moved.sourceName = name(isStatic, from);
    moved.slot = slot;
    moved.slotName = name(isStatic, slot);
    moved.cameAsLead = asLead;
    if (movedInto(isStatic, slot)) {
      refuse(moved.slotName + " is chosen twice");
      return false;
    }
    if (const auto held = targetHolding(isStatic, slot)) {
      if (!request_.replace) {
        refuse(moved.slotName + " is taken in " + fileName(request_.target.path) + "; --replace puts " +
               moved.sourceName + " of " + fileName(source.wad.path) + " there instead");
        return false;
      }
      (isStatic ? leavingStatics_ : leavingMoveables_).insert(*held);
      built_.plan.removed.push_back({isStatic, slot, moved.slotName, true});
      moved.replaces = true;
    }
    built_.plan.moved.push_back(std::move(moved));
    return true;
  }

  void choose(std::size_t s, const ObjectChoice& choice) {
    const MergeSource& source = request_.sources[s];
    const auto position = placeOf(*source.wad.document, source.wad.path, choice);
    if (!position) return;
    const std::int32_t from = SlotOf(*source.wad.document, choice.isStatic, *position);
    if (const auto slot = destination(source, choice, from)) place(s, choice.isStatic, *position, *slot, false);
  }

  // Animations of `m` in its WAD that lead outside it: (animation within
  // the object, the moveable led into, animation within that one).
  struct OutLead {
    std::size_t animation;
    std::size_t into;
    std::size_t intoAnimation;
  };
  // Each source's objects with animations, by first animation: worked out
  // once per source.
  const std::map<std::int64_t, std::pair<std::int64_t, std::size_t>>& rangesOf(const WadDocument& d) {
    auto found = ranges_.find(&d);
    if (found != ranges_.end()) return found->second;
    std::map<std::int64_t, std::pair<std::int64_t, std::size_t>>& ranges = ranges_[&d];
    for (std::size_t o = 0; o < d.Moveables.size(); ++o) {
      const AnimationRange r = ObjectAnimationRange(d, o);
      if (r.end > r.first) ranges.emplace(r.first, std::pair(r.end, o));
    }
    return ranges;
  }

  std::vector<OutLead> outLeads(const WadDocument& d, std::size_t m) {
    const AnimationRange own = ObjectAnimationRange(d, m);
    const auto& ranges = rangesOf(d);
    std::vector<OutLead> found;
    const auto lead = [&](std::int64_t a, std::int64_t to) {
      if (to >= own.first && to < own.end) return;
      auto it = ranges.upper_bound(to);
      if (it != ranges.begin()) {
        --it;
        const std::int64_t first = it->first;
        const auto [end, o] = it->second;
        if (to < end) {
          const OutLead l{static_cast<std::size_t>(a - own.first), o, static_cast<std::size_t>(to - first)};
          if (std::none_of(found.begin(), found.end(), [&](const OutLead& f) {
                return f.animation == l.animation && f.into == l.into && f.intoAnimation == l.intoAnimation;
              })) {
            found.push_back(l);
          }
        }
      }
    };
    for (std::int64_t a = own.first; a < own.end; ++a) {
      const AnimationRecord r = d.Animations[static_cast<std::size_t>(a)];
      lead(a, r.NextAnimation);
      for (int s = 0; s < r.NumStateChanges; ++s) {
        const std::size_t sc = static_cast<std::size_t>(r.StateChange) + static_cast<std::size_t>(s);
        if (r.StateChange < 0 || sc >= d.StateChanges.size()) break;
        const StateChangeRecord change = d.StateChanges[sc];
        for (int k = 0; k < change.NumAnimDispatched; ++k) {
          const std::size_t di = static_cast<std::size_t>(change.AnimDispatches) + static_cast<std::size_t>(k);
          if (change.AnimDispatches < 0 || di >= d.AnimDispatches.size()) break;
          lead(a, d.AnimDispatches[di].NextAnimation);
        }
      }
    }
    return found;
  }

  // How many animations the result's object in `slot` will have; nothing
  // when the result has no object there.
  std::optional<std::size_t> resultAnimations(std::int32_t slot) const {
    for (const MovedObject& m : built_.plan.moved) {
      if (m.isStatic || m.slot != slot) continue;
      const AnimationRange r = ObjectAnimationRange(*request_.sources[m.sourceIndex].wad.document, m.sourcePosition);
      return static_cast<std::size_t>(r.end - r.first);
    }
    if (const auto held = targetHolding(false, slot)) {
      const AnimationRange r = ObjectAnimationRange(target(), *held);
      return static_cast<std::size_t>(r.end - r.first);
    }
    return std::nullopt;
  }

  void leads() {
    for (std::size_t i = 0; i < built_.plan.moved.size(); ++i) {
      if (built_.plan.moved[i].isStatic) continue;
      const std::size_t s = built_.plan.moved[i].sourceIndex;
      const WadDocument& d = *request_.sources[s].wad.document;
      for (const OutLead& l : outLeads(d, built_.plan.moved[i].sourcePosition)) {
        const std::int32_t slot = d.Moveables[l.into].ObjectID;
        std::optional<std::size_t> held = resultAnimations(slot);
        if (!held && request_.withLeads) {
          // place() may grow `moved`: nothing below keeps a reference into it.
          if (place(s, false, l.into, slot, true)) held = resultAnimations(slot);
        }
        MergeLead lead{l.animation, slot, name(false, slot), l.intoAnimation, held && *held > l.intoAnimation};
        MovedObject& moved = built_.plan.moved[i];
        if (!lead.present) {
          refuse(moved.sourceName + " animation " + std::to_string(l.animation) + " leads into " + lead.slotName +
                 " animation " + std::to_string(l.intoAnimation) + ", which " + fileName(request_.target.path) +
                 (held ? " holds with fewer animations" : " lacks") + (held ? "" : "; --with-leads brings it along"));
        }
        moved.leads.push_back(std::move(lead));
      }
    }
  }

  void assemble() {
    const auto targetLabel = " of " + fileName(request_.target.path);
    for (std::size_t m = 0; m < target().Moveables.size(); ++m) {
      if (leaves(false, m)) continue;
      const std::int32_t slot = target().Moveables[m].ObjectID;
      built_.objects.push_back({&target(), false, m, slot, name(false, slot) + targetLabel});
      built_.movedIndex.push_back(std::nullopt);
    }
    for (std::size_t s = 0; s < target().StaticMeshes.size(); ++s) {
      if (leaves(true, s)) continue;
      const std::int32_t slot = SlotOf(target(), true, s);
      built_.objects.push_back({&target(), true, s, slot, name(true, slot) + targetLabel});
      built_.movedIndex.push_back(std::nullopt);
    }
    for (std::size_t i = 0; i < built_.plan.moved.size(); ++i) {
      const MovedObject& m = built_.plan.moved[i];
      const MergeWad& source = request_.sources[m.sourceIndex].wad;
      built_.objects.push_back(
          {source.document, m.isStatic, m.sourcePosition, m.slot, m.sourceName + " of " + fileName(source.path)});
      built_.movedIndex.push_back(i);
    }
    try {
      built_.assembly = AssembleWad(target(), built_.objects);
    } catch (const WadError& e) {
      refuse(e.description());
      return;
    }
    for (std::size_t o = 0; o < built_.objects.size(); ++o) {
      if (!built_.movedIndex[o]) continue;
      const AssemblyCounts& c = built_.assembly->counts[o];
      MovedObject& m = built_.plan.moved[*built_.movedIndex[o]];
      m.meshesNew = c.meshesNew;
      m.meshesShared = c.meshesShared;
      m.rectanglesNew = c.rectanglesNew;
      m.rectanglesShared = c.rectanglesShared;
      m.animations = c.animations;
    }
  }

  const MergeRequest& request_;
  BuiltPlan built_;
  std::set<std::size_t> leavingMoveables_, leavingStatics_;
  std::map<const WadDocument*, std::map<std::int64_t, std::pair<std::int64_t, std::size_t>>> ranges_;
};

}  // namespace

BuiltPlan BuildPlan(const MergeRequest& request) { return Planner(request).run(); }

}  // namespace tarnlow
