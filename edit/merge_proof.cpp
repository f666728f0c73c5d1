#include "edit/merge_proof.h"

#include <algorithm>
#include <map>
#include <thread>
#include <tuple>

#include "check/baseline.h"
#include "check/check_wad.h"
#include "check/fold.h"
#include "anim/drawn_object.h"
#include "content/content_pool.h"
#include "content/object_content.h"
#include "content/stored_alike.h"
#include "edit/slot_names.h"
#include "parallel/parallel_for.h"
#include "wad/file_paths.h"

namespace tarnlow {

namespace {

std::string fileName(const std::filesystem::path& path) { return Utf8FromPath(path.filename()); }

std::string describe(const std::vector<ContentDifference>& differences) {
  std::string text;
  for (const ContentDifference& d : differences) {
    if (!text.empty()) text += "; ";
    text += std::string(Describe(d.part)) + " (" + d.first + ")";
  }
  return text;
}

// A reference that leads to no object's animation keeps leading nowhere,
// but its number moves with the animations around it: nowhere is what is
// compared.
void leadNowhereAlike(AnimationTarget& target) {
  if (target.kind == AnimationTarget::Kind::Nowhere) target.animation = 0;
}

ObjectContent comparable(ObjectContent content) {
  for (AnimationContent& a : content.animations) {
    leadNowhereAlike(a.next);
    for (StateChangeContent& change : a.stateChanges) {
      for (DispatchContent& d : change.dispatches) leadNowhereAlike(d.next);
    }
  }
  return content;
}

bool hasPlaceholders(const WadDocument& d, std::size_t moveable) {
  const MoveableRecord r = d.Moveables[moveable];
  for (int j = 0; j < r.NumMeshes; ++j) {
    if (IsPlaceholderMesh(d, std::int64_t{r.StartingMesh} + j)) return true;
  }
  return false;
}

// A finding as alike findings share it, whichever records it names.
using Shape = std::tuple<std::string, std::string, Severity, std::string>;
Shape shapeOf(const Finding& f) { return {f.section, f.rule, f.severity, ProblemShape(f.problem)}; }

class Prover {
 public:
  Prover(const MergeRequest& request, const BuiltPlan& built, const WadDocument& written)
      : request_(request), built_(built), written_(written) {}

  ProofFindings run() {
    if (!objectsInPlace()) return std::move(found_);
    const std::vector<bool> alike = storedAlike();
    contents(alike);
    if (!found_.differences.empty()) return std::move(found_);
    const auto [outJudged, targetJudged] = judged(alike);
    const std::vector<Finding> outFindings = CheckWad(written_, {}, outJudged);
    if (!outFindings.empty()) findings(CheckWad(*request_.target.document, {}, targetJudged), outFindings);
    return std::move(found_);
  }

 private:
  // Which objects of the target OUT holds in the same bytes: their content
  // is equal without decoding it. Each thread takes every n-th object with
  // a comparer of its own.
  std::vector<bool> storedAlike() const {
    const std::size_t count = built_.objects.size();
    std::vector<char> alike(count, 0);  // not vector<bool>: threads write side by side
    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 16);
    ParallelFor(threads, 0, [&](std::size_t thread) {
      StoredAlike stored(*request_.target.document, written_);
      for (std::size_t o = thread; o < count; o += threads) {
        const AssemblyObject& object = built_.objects[o];
        if (built_.movedIndex[o]) continue;
        const std::size_t at = assembly().placed[o];
        alike[o] = object.isStatic ? stored.statics(object.position, at) : stored.moveables(object.position, at);
      }
    });
    return std::vector<bool>(alike.begin(), alike.end());
  }

  // Which moveables of OUT and of the target the checks pose. An object of
  // the target that OUT holds in the same bytes, key frames included, has
  // in both WADs the same findings of the rules that read key frames: they
  // depend on nothing else, but for an object with placeholder meshes,
  // which may be drawn with LARA_SKIN's and so is judged always. Leaving it
  // out of both checks keeps every finding it would add on one side matched
  // by the same on the other, so what OUT's check adds is the same; the
  // WAD-wide rules run whole.
  std::pair<std::vector<bool>, std::vector<bool>> judged(const std::vector<bool>& alike) const {
    std::vector<bool> out(written_.Moveables.size(), true), target(request_.target.document->Moveables.size(), true);
    for (std::size_t o = 0; o < built_.objects.size(); ++o) {
      const AssemblyObject& object = built_.objects[o];
      if (!alike[o] || object.isStatic) continue;
      const std::size_t at = assembly().placed[o];
      if (hasPlaceholders(*request_.target.document, object.position) || hasPlaceholders(written_, at)) continue;
      out[at] = false;
      target[object.position] = false;
    }
    return {std::move(out), std::move(target)};
  }

  void differ(std::string what) { found_.differences.push_back(std::move(what)); }

  const Assembly& assembly() const { return *built_.assembly; }

  bool objectsInPlace() {
    const WadDocument& planned = assembly().document;
    if (written_.Moveables.size() != planned.Moveables.size() ||
        written_.StaticMeshes.size() != planned.StaticMeshes.size()) {
      differ("OUT holds " + std::to_string(written_.Moveables.size()) + " objects and " +
             std::to_string(written_.StaticMeshes.size()) + " statics instead of " +
             std::to_string(planned.Moveables.size()) + " and " + std::to_string(planned.StaticMeshes.size()));
      return false;
    }
    for (std::size_t o = 0; o < built_.objects.size(); ++o) {
      const AssemblyObject& object = built_.objects[o];
      const std::int32_t slot = SlotOf(written_, object.isStatic, assembly().placed[o]);
      if (slot != object.slot) {
        differ(object.label + " stands in " + SlotName(request_.names, object.isStatic, slot) + " of OUT");
        return false;
      }
    }
    return true;
  }

  // Compares by content every object not stored alike: a moved one with
  // its source's, any other with the target's. One pool serves all, so
  // that what OUT holds alike with them (pictures, key-frame blocks) is
  // compared by reference.
  void contents(const std::vector<bool>& alike) {
    ContentReader target(*request_.target.document, nullptr, &pool_), out(written_, nullptr, &pool_);
    for (std::size_t o = 0; o < built_.objects.size(); ++o) {
      if (alike[o]) continue;
      const AssemblyObject& object = built_.objects[o];
      const std::size_t at = assembly().placed[o];
      const bool moved = built_.movedIndex[o].has_value();
      std::vector<ContentDifference> differences;
      if (object.isStatic) {
        const StaticContent was = moved ? StaticContentOf(*object.from, object.position, &pool_) : target.staticMesh(object.position);
        differences = CompareContent(was, out.staticMesh(at));
      } else {
        const ObjectContent was = moved ? MoveableContentOf(*object.from, object.position, nullptr, &pool_) : target.moveable(object.position);
        differences = CompareContent(comparable(was), comparable(out.moveable(at)));
      }
      if (!differences.empty()) differ(object.label + " differs in OUT: " + describe(differences));
    }
  }

  // The moved object (index into built_.objects) at a place of OUT.
  std::optional<std::size_t> movedAt(bool isStatic, std::size_t place) const {
    for (std::size_t o = 0; o < built_.objects.size(); ++o) {
      if (built_.movedIndex[o] && built_.objects[o].isStatic == isStatic && assembly().placed[o] == place) return o;
    }
    return std::nullopt;
  }

  const std::vector<Finding>& sourceFindings(const WadDocument* d) {
    auto found = sourceFindings_.find(d);
    if (found == sourceFindings_.end()) {
      // Only the moved objects' own findings and the WAD-wide ones are
      // asked for: the source's other objects' key frames are left.
      std::vector<bool> judged(d->Moveables.size(), false);
      for (const AssemblyObject& object : built_.objects) {
        if (object.from == d && !object.isStatic) judged[object.position] = true;
      }
      found = sourceFindings_.emplace(d, CheckWad(*d, {}, judged)).first;
    }
    return found->second;
  }

  // The findings of the moved object `o` in its source, by shape, or the
  // source's WAD-wide ones when `o` is empty.
  std::map<Shape, std::size_t> sourceShapes(const WadDocument* d, std::optional<std::size_t> o) {
    std::map<Shape, std::size_t> shapes;
    for (const Finding& f : sourceFindings(d)) {
      bool about = false;
      if (!o) {
        about = !f.moveable && !f.staticMesh;
      } else if (built_.objects[*o].isStatic) {
        about = f.staticMesh == built_.objects[*o].position;
      } else {
        about = f.moveable == built_.objects[*o].position;
      }
      if (about) ++shapes[shapeOf(f)];
    }
    return shapes;
  }

  void findings(const std::vector<Finding>& targetFindings, const std::vector<Finding>& outFindings) {
    const WadDocument& target = *request_.target.document;
    const std::vector<Finding> added = FindingsNotIn(written_, outFindings, target, targetFindings);
    for (const Finding& f : added) {
      std::optional<std::size_t> o;
      if (f.moveable) o = movedAt(false, *f.moveable);
      if (!f.moveable && f.staticMesh) o = movedAt(true, *f.staticMesh);
      const bool aboutObject = f.moveable || f.staticMesh;
      bool carried = false;
      std::filesystem::path source;
      if (o) {
        const WadDocument* from = built_.objects[*o].from;
        carried = sourceShapes(from, o).count(shapeOf(f)) != 0;
        source = request_.sources[built_.plan.moved[*built_.movedIndex[*o]].sourceIndex].wad.path;
      } else if (!aboutObject) {
        for (const MergeSource& s : request_.sources) {
          if (s.wad.document && sourceShapes(s.wad.document, std::nullopt).count(shapeOf(f)) != 0) {
            carried = true;
            source = s.wad.path;
            break;
          }
        }
      }
      if (carried) {
        found_.carried.push_back({f, source});
      } else {
        differ("the check of OUT finds what " + fileName(request_.target.path) +
               (o ? " and the source do" : " does") + " not have: " + FormatFinding(f));
      }
    }
  }

  const MergeRequest& request_;
  const BuiltPlan& built_;
  const WadDocument& written_;
  ContentPool pool_;
  std::map<const WadDocument*, std::vector<Finding>> sourceFindings_;
  ProofFindings found_;
};

}  // namespace

ProofFindings ProveMerge(const MergeRequest& request, const BuiltPlan& built, const WadDocument& written) {
  return Prover(request, built, written).run();
}

}  // namespace tarnlow
