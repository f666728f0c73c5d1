#include "anim/wad_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "anim/anim_commands.h"
#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "anim/skeleton.h"
#include "mesh/mesh_decoder.h"
#include "wad/byte_reader.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

bool inside(std::int64_t index, std::size_t size) { return index >= 0 && static_cast<std::uint64_t>(index) < size; }

// One pass over a document, section by section; each check adds its
// findings in record order.
class WadChecker {
 public:
  explicit WadChecker(const WadDocument& document)
      : doc_(document), owner_(document.Animations.size(), -1) {}

  std::vector<Finding> run() {
    checkMoveables();
    checkAnimations();
    checkStateChanges();
    checkDispatches();
    checkMeshPointers();
    checkStaticMeshes();
    checkTextureInfo();
    return std::move(findings_);
  }

 private:
  void add(Severity severity, const char* section, std::int64_t record, std::string problem, std::string target,
           std::optional<std::size_t> moveable = std::nullopt) {
    findings_.push_back(Finding{severity, section, record, std::move(problem), std::move(target), moveable});
  }

  std::optional<std::size_t> ownerOf(std::int64_t animation) const {
    if (!inside(animation, owner_.size()) || owner_[static_cast<std::size_t>(animation)] < 0) return std::nullopt;
    return static_cast<std::size_t>(owner_[static_cast<std::size_t>(animation)]);
  }

  // Skeletons and animation ranges; remembers which moveable owns which
  // animation, for the frame checks that need its mesh count.
  void checkMoveables() {
    for (std::size_t m = 0; m < doc_.Moveables.size(); ++m) {
      std::variant<Skeleton, Finding> skeleton = BuildSkeleton(doc_, m);
      if (auto* problem = std::get_if<Finding>(&skeleton)) {
        problem->moveable = m;
        findings_.push_back(std::move(*problem));
      } else {
        for (Finding& f : std::get<Skeleton>(skeleton).problems) findings_.push_back(std::move(f));
      }

      std::optional<Finding> rangeProblem;
      const AnimationRange range = ObjectAnimationRange(doc_, m, &rangeProblem);
      if (rangeProblem) findings_.push_back(std::move(*rangeProblem));
      for (std::int64_t a = range.first; a < range.end; ++a) owner_[static_cast<std::size_t>(a)] = static_cast<std::int64_t>(m);
      if (range.first < range.end) {
        const MoveableAnimationRef ref = ReadAnimationRef(doc_.Moveables[m]);
        const std::int32_t offset = doc_.Animations[static_cast<std::size_t>(range.first)].FrameOffset;
        if (ref.frameOffset != offset) {
          add(Severity::Warning, "Moveables", static_cast<std::int64_t>(m),
              "its frame offset " + str(ref.frameOffset) + " (Unknown3) differs from FrameOffset " + str(offset) +
                  " of its first animation",
              "Animations " + str(range.first), m);
        }
      }
    }
  }

  void checkAnimations() {
    for (std::size_t i = 0; i < doc_.Animations.size(); ++i) {
      const auto index = static_cast<std::int64_t>(i);
      const AnimationRecord a = doc_.Animations[i];
      const std::optional<std::size_t> owner = ownerOf(index);
      checkFrames(index, a, owner);
      checkNext(index, a, owner);
      checkStateChangeRange(index, a, owner);
      checkCommands(index, a, owner);
    }
  }

  void checkFrames(std::int64_t index, const AnimationRecord& a, std::optional<std::size_t> owner) {
    const std::variant<int, Finding> keys = KeyFrameCount(a, index);
    if (const auto* problem = std::get_if<Finding>(&keys)) {
      Finding f = *problem;
      f.moveable = owner;
      findings_.push_back(std::move(f));
      return;
    }
    const int keyFrames = std::get<int>(keys);
    bool usable = true;
    if (a.FrameOffset < 0 || a.FrameOffset % 2 != 0) {
      add(Severity::Error, "Animations", index,
          "FrameOffset " + str(a.FrameOffset) + " is not the byte offset of a frame word", "Frames", owner);
      usable = false;
    }
    if (a.FrameSize < kFrameHeaderWords) {
      add(Severity::Error, "Animations", index,
          "FrameSize " + str(a.FrameSize) + " is smaller than the " + str(kFrameHeaderWords) +
              " words of a frame's box and offset",
          {}, owner);
      usable = false;
    }
    if (!usable) return;
    const std::int64_t start = a.FrameOffset / 2;
    const std::int64_t end = start + std::int64_t{keyFrames} * a.FrameSize;
    const auto words = static_cast<std::int64_t>(doc_.Frames.size());
    if (end > words) {
      add(Severity::Error, "Animations", index,
          "its " + str(keyFrames) + " key frames of " + str(a.FrameSize) + " words run from Frames word " +
              str(start) + " to " + str(end) + ", past the " + str(words) + " frame words",
          "Frames word " + str(std::max(start, words)), owner);
      return;
    }
    if (!owner) return;
    // A key frame holds one rotation per mesh of its object: only an
    // animation with a known owner can be decoded.
    const MoveableRecord moveable = doc_.Moveables[*owner];
    if (moveable.NumMeshes < 1) return;
    int overruns = 0, firstOverrun = -1;
    std::size_t firstWords = 0;
    const std::span<const std::uint8_t> stored = doc_.Frames.storedBytes();
    for (int k = 0; k < keyFrames; ++k) {
      // Most frames are only measured, straight from the file bytes; the
      // full decoder speaks for a frame that runs off what the file holds.
      const std::size_t at = 2 * static_cast<std::size_t>(start + std::int64_t{k} * a.FrameSize);
      std::optional<std::size_t> words =
          at < stored.size() ? FrameWordCount(stored.subspan(at), moveable.NumMeshes) : std::nullopt;
      if (!words) {
        std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(doc_, index, k, moveable.NumMeshes);
        if (auto* problem = std::get_if<Finding>(&read)) {
          problem->moveable = owner;
          findings_.push_back(std::move(*problem));
          break;
        }
        words = std::get<KeyFrameRead>(read).frame.words;
      }
      if (*words > a.FrameSize && overruns++ == 0) {
        firstOverrun = k;
        firstWords = *words;
      }
    }
    if (overruns > 0) {
      add(Severity::Error, "Animations", index,
          str(overruns) + " of its " + str(keyFrames) + " key frames need more than FrameSize " + str(a.FrameSize) +
              " words for the " + str(moveable.NumMeshes) + " meshes of moveable " + str(static_cast<std::int64_t>(*owner)) +
              " (key frame " + str(firstOverrun) + " needs " + str(static_cast<std::int64_t>(firstWords)) + ")",
          "Frames word " + str(start + std::int64_t{firstOverrun} * a.FrameSize), owner);
    }
  }

  // A frame number that lies in animation `target`'s own frames.
  bool frameOf(std::int64_t target, std::int64_t frame) const {
    const AnimationRecord t = doc_.Animations[static_cast<std::size_t>(target)];
    return frame >= t.FrameStart && frame <= t.FrameEnd;
  }
  std::string framesOf(std::int64_t target) const {
    const AnimationRecord t = doc_.Animations[static_cast<std::size_t>(target)];
    return str(t.FrameStart) + " to " + str(t.FrameEnd);
  }

  void checkNext(std::int64_t index, const AnimationRecord& a, std::optional<std::size_t> owner) {
    const std::size_t count = doc_.Animations.size();
    if (!inside(a.NextAnimation, count)) {
      add(Severity::Error, "Animations", index,
          "NextAnimation " + str(a.NextAnimation) + " is outside the " + str(static_cast<std::int64_t>(count)) +
              " animations",
          "Animations " + str(a.NextAnimation), owner);
      return;
    }
    if (!frameOf(a.NextAnimation, a.NextFrame)) {
      add(Severity::Error, "Animations", index,
          "NextFrame " + str(a.NextFrame) + " is not a frame of animation " + str(a.NextAnimation) + " (" +
              framesOf(a.NextAnimation) + ")",
          "Animations " + str(a.NextAnimation), owner);
    }
    const std::optional<std::size_t> nextOwner = ownerOf(a.NextAnimation);
    if (owner && nextOwner != owner) {
      add(Severity::Warning, "Animations", index,
          "NextAnimation " + str(a.NextAnimation) + " belongs to " +
              (nextOwner ? "moveable " + str(static_cast<std::int64_t>(*nextOwner)) : std::string("no moveable")) +
              ", not to its own moveable " + str(static_cast<std::int64_t>(*owner)),
          "Animations " + str(a.NextAnimation), owner);
    }
  }

  void checkStateChangeRange(std::int64_t index, const AnimationRecord& a, std::optional<std::size_t> owner) {
    if (a.NumStateChanges == 0) return;
    const auto count = static_cast<std::int64_t>(doc_.StateChanges.size());
    if (a.NumStateChanges < 0) {
      add(Severity::Error, "Animations", index, "NumStateChanges " + str(a.NumStateChanges) + " is negative", {},
          owner);
      return;
    }
    const std::int64_t last = std::int64_t{a.StateChange} + a.NumStateChanges - 1;
    if (a.StateChange < 0 || last >= count) {
      add(Severity::Error, "Animations", index,
          "its state changes " + str(a.StateChange) + " to " + str(last) + " leave the " + str(count) +
              " state changes",
          "StateChanges " + str(a.StateChange < 0 ? a.StateChange : count), owner);
      return;
    }
    // Dispatches fire while the animation plays: their frame ranges are
    // frames of this animation.
    for (std::int64_t s = a.StateChange; s <= last; ++s) {
      const StateChangeRecord change = doc_.StateChanges[static_cast<std::size_t>(s)];
      const std::int64_t first = change.AnimDispatches;
      const std::int64_t end = first + change.NumAnimDispatched;
      if (change.NumAnimDispatched < 0 || first < 0 || end > static_cast<std::int64_t>(doc_.AnimDispatches.size())) {
        continue;  // told once, by the state change check
      }
      for (std::int64_t d = first; d < end; ++d) {
        const AnimDispatchRecord dispatch = doc_.AnimDispatches[static_cast<std::size_t>(d)];
        if (dispatch.Low < a.FrameStart || dispatch.High > a.FrameEnd + 1) {
          add(Severity::Warning, "AnimDispatches", d,
              "frames " + str(dispatch.Low) + " to " + str(dispatch.High) + " reach outside animation " + str(index) +
                  " (" + str(a.FrameStart) + " to " + str(a.FrameEnd) + "), which dispatches through state change " +
                  str(s),
              "Animations " + str(index), owner);
        }
      }
    }
  }

  void checkCommands(std::int64_t index, const AnimationRecord& a, std::optional<std::size_t> owner) {
    std::vector<Finding> problems;
    const std::vector<AnimCommand> commands = DecodeAnimCommands(doc_, index, problems);
    for (Finding& f : problems) {
      f.moveable = owner;
      findings_.push_back(std::move(f));
    }
    for (const AnimCommand& c : commands) {
      if (c.type != kPlaySound && c.type != kFlipEffect) continue;
      const std::int16_t frame = c.operands[0];
      if (frame < a.FrameStart || frame > a.FrameEnd) {
        add(Severity::Warning, "Animations", index,
            c.text + " (AnimCommands word " + str(c.word) + ") names a frame outside its frames " +
                str(a.FrameStart) + " to " + str(a.FrameEnd) + "; it never plays",
            "AnimCommands " + str(c.word), owner);
      }
    }
  }

  void checkStateChanges() {
    const auto dispatches = static_cast<std::int64_t>(doc_.AnimDispatches.size());
    for (std::size_t s = 0; s < doc_.StateChanges.size(); ++s) {
      const StateChangeRecord change = doc_.StateChanges[s];
      const auto record = static_cast<std::int64_t>(s);
      if (change.NumAnimDispatched < 0) {
        add(Severity::Error, "StateChanges", record,
            "NumAnimDispatched " + str(change.NumAnimDispatched) + " is negative", {});
        continue;
      }
      if (change.NumAnimDispatched == 0) continue;
      const std::int64_t last = std::int64_t{change.AnimDispatches} + change.NumAnimDispatched - 1;
      if (change.AnimDispatches < 0 || last >= dispatches) {
        add(Severity::Error, "StateChanges", record,
            "its dispatches " + str(change.AnimDispatches) + " to " + str(last) + " leave the " + str(dispatches) +
                " dispatches",
            "AnimDispatches " + str(change.AnimDispatches < 0 ? change.AnimDispatches : dispatches));
      }
    }
  }

  void checkDispatches() {
    const std::size_t count = doc_.Animations.size();
    for (std::size_t d = 0; d < doc_.AnimDispatches.size(); ++d) {
      const AnimDispatchRecord dispatch = doc_.AnimDispatches[d];
      const auto record = static_cast<std::int64_t>(d);
      if (dispatch.Low > dispatch.High) {
        add(Severity::Error, "AnimDispatches", record,
            "its frame range " + str(dispatch.Low) + " to " + str(dispatch.High) + " is empty", {});
      }
      if (!inside(dispatch.NextAnimation, count)) {
        add(Severity::Error, "AnimDispatches", record,
            "NextAnimation " + str(dispatch.NextAnimation) + " is outside the " +
                str(static_cast<std::int64_t>(count)) + " animations",
            "Animations " + str(dispatch.NextAnimation), ownerOf(dispatch.NextAnimation));
      } else if (!frameOf(dispatch.NextAnimation, dispatch.NextFrame)) {
        add(Severity::Error, "AnimDispatches", record,
            "NextFrame " + str(dispatch.NextFrame) + " is not a frame of animation " + str(dispatch.NextAnimation) +
                " (" + framesOf(dispatch.NextAnimation) + ")",
            "Animations " + str(dispatch.NextAnimation), ownerOf(dispatch.NextAnimation));
      }
    }
  }

  void checkMeshPointers() {
    const std::size_t bytes = doc_.MeshData.size();
    // Many pointers share a mesh (every DUMMY points at offset 0): each
    // offset is decoded once.
    std::unordered_map<std::int32_t, std::optional<std::string>> decoded;
    decoded.reserve(doc_.MeshPointers.size());
    for (std::size_t k = 0; k < doc_.MeshPointers.size(); ++k) {
      const std::int32_t pointer = doc_.MeshPointers[k];
      const auto record = static_cast<std::int64_t>(k);
      if (pointer < 0 || static_cast<std::uint64_t>(pointer) >= bytes) {
        add(Severity::Error, "MeshPointers", record,
            "pointer " + str(pointer) + " is outside the " + str(static_cast<std::int64_t>(bytes)) +
                " bytes of mesh data",
            "MeshData byte " + str(pointer));
        continue;
      }
      auto [it, fresh] = decoded.try_emplace(pointer);
      if (fresh) {
        int unknownFaces = 0;
        const MeshResult<MeshExtent> mesh = MeasureMesh(doc_, record, [&](int) { ++unknownFaces; });
        if (const auto* failure = std::get_if<MeshFailure>(&mesh)) {
          it->second = "the mesh at byte " + str(pointer) + " cannot be decoded: " + Describe(*failure);
        } else if (unknownFaces > 0) {
          add(Severity::Warning, "MeshPointers", record,
              "the mesh at byte " + str(pointer) + " has " + str(unknownFaces) + " faces of an unknown type",
              "MeshData byte " + str(pointer));
        }
      }
      if (it->second) add(Severity::Error, "MeshPointers", record, *it->second, "MeshData byte " + str(pointer));
    }
  }

  // A static mesh record: ObjectID (32 bits), then the position of its mesh
  // in MeshPointers (16 bits), then its two boxes and flags.
  void checkStaticMeshes() {
    const std::size_t pointers = doc_.MeshPointers.size();
    for (std::size_t i = 0; i < doc_.StaticMeshes.size(); ++i) {
      // Records are decoded on access: the copy must outlive the reader.
      const StaticMeshRecord staticMesh = doc_.StaticMeshes[i];
      ByteReader r(staticMesh.Bytes, PastEnd::ReadsZero);
      const std::int32_t objectId = r.i32();
      const std::int16_t mesh = r.i16();
      if (!inside(mesh, pointers)) {
        add(Severity::Error, "StaticMeshes", static_cast<std::int64_t>(i),
            "static object " + str(objectId) + " uses mesh position " + str(mesh) + ", outside the " +
                str(static_cast<std::int64_t>(pointers)) + " mesh pointers",
            "MeshPointers " + str(mesh));
      }
    }
  }

  // A texture-info record: X and Y on the page (bytes), the page (16
  // bits), then a flag byte and the width less one, a flag byte and the
  // height less one. No public description of this record was found; the
  // layout is the one four of the five real WADs we tried fit exactly
  // (every page inside the texture data, every square inside its page).
  void checkTextureInfo() {
    const std::size_t pages = (doc_.TextData.size() + 255) / 256;
    for (std::size_t i = 0; i < doc_.TextInfo.size(); ++i) {
      const TextInfoRecord info = doc_.TextInfo[i];
      ByteReader r(info.Bytes, PastEnd::ReadsZero);
      const int x = r.u8(), y = r.u8();
      const int page = r.u16();
      r.u8();
      const int width = r.u8();
      r.u8();
      const int height = r.u8();
      const auto record = static_cast<std::int64_t>(i);
      if (static_cast<std::size_t>(page) >= pages) {
        add(Severity::Error, "TextInfo", record,
            "texture page " + str(page) + " does not exist; the texture data holds " +
                str(static_cast<std::int64_t>(pages)) + " pages",
            "TextData page " + str(page));
      } else if (x + width > 255 || y + height > 255) {
        add(Severity::Error, "TextInfo", record,
            "its square at " + str(x) + ", " + str(y) + " of " + str(width + 1) + " x " + str(height + 1) +
                " pixels leaves its 256 x 256 page",
            "TextData page " + str(page));
      }
    }
  }

  const WadDocument& doc_;
  std::vector<Finding> findings_;
  std::vector<std::int64_t> owner_;  // per animation: the moveable it belongs to, or -1
};

}  // namespace

std::vector<Finding> CheckWad(const WadDocument& document) { return WadChecker(document).run(); }

CheckCounts CountFindings(const std::vector<Finding>& findings) {
  CheckCounts counts;
  for (const Finding& f : findings) {
    if (f.severity == Severity::Error) ++counts.errors;
    if (f.severity == Severity::Warning) ++counts.warnings;
    if (f.severity == Severity::Note) ++counts.notes;
  }
  return counts;
}

std::string CheckSummaryLine(const CheckCounts& counts) {
  if (counts.errors + counts.warnings + counts.notes == 0) return "no problems found";
  const auto part = [](std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
  };
  return part(counts.errors, "error") + ", " + part(counts.warnings, "warning") + ", " + part(counts.notes, "note");
}

}  // namespace tarnlow
