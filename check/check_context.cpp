#include "check/check_context.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "anim/key_frame.h"
#include "sound/sound_files.h"

namespace tarnlow {

CheckContext::CheckContext(const WadDocument& document, const CheckSounds& sounds, std::vector<bool> judged)
    : doc_(document),
      sounds_(sounds),
      judged_(std::move(judged)),
      heldMoveables_(document.Moveables.storedBytes().size() / RecordArray<MoveableRecord>::kRecordSize),
      usage_(FindUsage(document)),
      owner_(document.Animations.size(), -1) {}

const SoundTable* CheckContext::soundTable() const {
  return sounds_.set != nullptr && sounds_.set->sounds ? &sounds_.set->sounds->table : nullptr;
}

std::size_t CheckContext::zeroMoveables() const {
  const std::size_t count = doc_.Moveables.size();
  return count > heldMoveables_ + 2 ? count - heldMoveables_ - 2 : 0;
}

std::optional<std::size_t> CheckContext::ownerOf(std::int64_t animation) const {
  if (!Inside(animation, owner_.size()) || owner_[static_cast<std::size_t>(animation)] < 0) return std::nullopt;
  return static_cast<std::size_t>(owner_[static_cast<std::size_t>(animation)]);
}

bool CheckContext::isAnyAnimationsFrame(std::int64_t frame) const {
  if (!frameSpans_) {
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    spans.reserve(doc_.Animations.size());
    for (std::size_t i = 0; i < doc_.Animations.size(); ++i) {
      const AnimationRecord a = doc_.Animations[i];
      if (FrameCount(a) > 0) spans.emplace_back(FrameNumber(a.FrameStart), FrameNumber(a.FrameEnd));
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<std::int64_t, std::int64_t>> merged;
    for (const auto& span : spans) {
      if (!merged.empty() && span.first <= merged.back().second + 1) {
        merged.back().second = std::max(merged.back().second, span.second);
      } else {
        merged.push_back(span);
      }
    }
    frameSpans_ = std::move(merged);
  }
  const auto after = std::upper_bound(frameSpans_->begin(), frameSpans_->end(),
                                      std::pair<std::int64_t, std::int64_t>{frame, INT64_MAX});
  return after != frameSpans_->begin() && frame <= std::prev(after)->second;
}

void CheckContext::setOwner(std::int64_t first, std::int64_t end, std::size_t moveable) {
  for (std::int64_t a = first; a < end; ++a) {
    if (Inside(a, owner_.size())) owner_[static_cast<std::size_t>(a)] = static_cast<std::int64_t>(moveable);
  }
}

Finding& CheckContext::add(Severity severity, std::string rule, std::string section, std::int64_t record,
                           std::string problem, std::string target, std::optional<std::size_t> moveable) {
  Finding f{severity, std::move(section), record, std::move(problem), std::move(target), moveable};
  f.rule = std::move(rule);
  if (f.section == "Animations" && record >= 0) f.animation = record;
  findings_.push_back(std::move(f));
  return findings_.back();
}

Finding& CheckContext::pass(Finding finding, std::string rule, std::optional<std::size_t> moveable) {
  if (!finding.moveable) finding.moveable = moveable;
  if (finding.rule.empty()) finding.rule = std::move(rule);
  if (finding.section == "Animations" && finding.record >= 0 && !finding.animation) finding.animation = finding.record;
  findings_.push_back(std::move(finding));
  return findings_.back();
}

}  // namespace tarnlow
