#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/pose.h"
#include "check/naming.h"
#include "sound/sound_table.h"
#include "ui/background_task.h"
#include "ui/object_scene.h"
#include "ui/playback.h"
#include "ui/textured_faces.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QToolButton;

namespace tarnlow::ui {

class ObjectCanvas;

// More key frames than this and a picked object is drawn off the window's
// thread. Below it (every object of the real WADs tried) drawing takes a
// blink, and the picture comes without a "Drawing" line flashing first.
inline constexpr std::int64_t kKeyFramesDrawnAtOnce = 20000;

// A whole object, its meshes placed by a frame of one of its animations
// (or a static mesh, which is one mesh and has no animations),
// with the controls to play them: an animation chooser, play and pause,
// a frame back and on, a frame slider, and whether an animation that ends
// goes on to its next one as the game plays it. The picture turns, zooms
// and fits as the mesh preview does; faces show their textures where their
// texture record is known, the colour key transparent, and are shaded flat
// otherwise. One mesh can be highlighted.
//
// Playing runs a timer at the screen's pace; it stops while the widget is
// hidden and starts again when it is shown.
class ObjectViewWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ObjectViewWidget(QWidget* parent = nullptr);
  ~ObjectViewWidget() override;

  // Shows moveable `moveableIndex` of `document` (a copy is kept) as the
  // game draws it (DrawObject) at frame 0 of its first animation, or in its
  // rest pose when it has none, fitted to the view. What cannot be shown (no
  // skeleton, meshes that do not decode, a frame that cannot be posed) is
  // said in the caption; the rest is drawn. An animation that cannot be
  // played as stored is marked in the chooser, its reason is the caption's
  // first problem while it is chosen, and only its key frame 0 is drawn.
  void showObject(const WadDocument& document, std::size_t moveableIndex);
  // Shows moveable `moveableIndex` of `document` as showObject does. An
  // object whose animations name more than kKeyFramesDrawnAtOnce key frames
  // is drawn off the window's thread, the caption counting the seconds
  // meanwhile, so the window stays responsive; a later pick, static or
  // clear supersedes it. A frame or a mesh asked for meanwhile
  // (showAnimationFrame, highlightMesh) is shown once it is drawn.
  // `objectShown` is emitted when the object is shown (at once for a small
  // one).
  void pickObject(const WadDocument& document, std::size_t moveableIndex);
  // True while a picked object is drawn off the window's thread.
  bool drawing() const { return drawTask_.pending(); }
  // Shows static mesh `staticIndex` of `document` (a copy is kept), fitted
  // to the view. A static whose mesh position lies outside MeshPointers, or
  // whose mesh does not decode, is said in the caption instead of drawn.
  void showStatic(const WadDocument& document, std::size_t staticIndex);
  // The name file's tables, by which captions and tooltips name objects and
  // static meshes as the check and the lists do; none until set.
  void setNames(const ObjectNameTables& names);
  // Shows what `other` shows, in the animation, frame and camera it has.
  void showSameAs(const ObjectViewWidget& other);
  // Shows nothing and stops playing.
  void clear();
  // With it on (the picture in the main window), a double-click on the
  // picture and the window button ask for a window of its own; with it off
  // (that window), a double-click fits the object to the view again.
  void setOpensWindow(bool on);
  // The sound table beside the WAD shown (null: none), by which the
  // commands list and the caption name a Play Sound's slot and samples;
  // without one they say the sound's number. Kept until set again.
  void setSounds(std::shared_ptr<const SoundTable> sounds);
  // Highlights mesh `meshNumber` of the object (as the mesh list numbers
  // it); nothing highlights none.
  void highlightMesh(std::optional<int> meshNumber);

  // Chooses animation `animation` (its index in Animations) when it is one
  // of the object's, stopped at frame `frame` (a frame number as FrameStart
  // counts, kept within the animation's frames) or at its first; changes
  // nothing for an animation that is not the object's.
  void showAnimationFrame(std::int64_t animation, std::optional<std::int64_t> frame);

  // Moves playback on by `seconds` and shows the new frame: what the timer
  // calls on each tick.
  void advance(double seconds);

  bool hasObject() const { return object_.has_value() || static_.has_value(); }
  // The moveable or static mesh shown, if any.
  std::optional<std::size_t> moveable() const;
  std::optional<std::size_t> staticMesh() const { return static_; }
  const WadDocument& document() const { return document_; }
  // The pose of the frame shown (the rest pose when it cannot be posed);
  // nothing for a static mesh or when nothing is shown.
  const std::optional<ObjectPose>& currentPose() const { return pose_; }
  // The picture as it is on the screen, without the controls.
  QImage picture() const;
  const Playback& playback() const { return playback_; }
  QString caption() const;
  std::optional<int> highlightedMesh() const { return highlight_; }
  const OrbitCamera& camera() const { return camera_; }
  const std::vector<ObjectFace>& faces() const { return faces_; }
  bool timerRunning() const { return timer_.isActive(); }
  // The picture alone, without the controls.
  QWidget* canvas() const;

  QComboBox* cboAnimation = nullptr;
  QPushButton* cmdPlay = nullptr;
  QToolButton* cmdStepBack = nullptr;
  QToolButton* cmdStepForward = nullptr;
  QSlider* sldFrame = nullptr;
  QCheckBox* chkNext = nullptr;
  QCheckBox* chkBox = nullptr;
  QPushButton* cmdWindow = nullptr;
  QPushButton* cmdExport = nullptr;
  // The chosen animation's commands.
  QListWidget* lstCommands = nullptr;

 Q_SIGNALS:
  // The user asked to see the view in a window of its own.
  void windowRequested();
  // The user pressed "Export...".
  void exportRequested();
  // A picked object is shown.
  void objectShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  friend class ObjectCanvas;
  // Shows `drawn` (DrawObject's answer for a moveable of `document`).
  void showDrawn(const WadDocument& document, std::variant<DrawnObject, Finding> drawn);
  // Shows the picked object once it is drawn.
  void pollDrawing();
  void fillAnimations();
  // Lists the chosen animation's commands, when it is not the one listed.
  void fillCommands();
  // The meshes shown: the drawn object's or the static's; null for none.
  const ObjectModel* model() const;
  // Makes the picture of each page in `pages`.
  void loadPages(const std::vector<std::size_t>& pages);
  void requestWindowOrFit();
  // Why the current animation cannot be played as stored; null when it can.
  const Finding* animationProblem() const;
  // Poses the current frame, then reprojects.
  void pose();
  void reproject();
  void fit();
  void syncControls();
  // Measures boxes_ and boxSaid_ for the pose shown.
  void measureBoxes();
  void setPlaying(bool playing);
  void updateTimer();

  // A finding as one line, its objects named as the check names them.
  QString said(const Finding& finding) const;

  WadDocument document_;
  ObjectNameTables names_;
  // Built for document_ whenever it or names_ change.
  std::optional<CheckNames> namer_;
  std::optional<DrawnObject> object_;
  std::optional<std::size_t> static_;
  ObjectModel staticModel_;
  std::optional<ObjectPose> pose_;
  bool opensWindow_ = false;
  QString failure_;
  Playback playback_;
  std::vector<Transform> world_;
  QString poseProblem_;
  ShadedPages pages_;
  OrbitCamera camera_;
  std::vector<ObjectFace> faces_;
  std::optional<int> highlight_;
  // With "Box" ticked and an animation chosen: the box stored in the key
  // frame and the box of the figure drawn, in WAD units, then projected.
  struct BoxOverlay {
    Vec3 storedLow, storedHigh, drawnLow, drawnHigh;
    std::array<ScreenEdge, 12> stored{}, drawn{};
  };
  std::optional<BoxOverlay> boxes_;
  QString boxSaid_;
  std::shared_ptr<const SoundTable> sounds_;
  int commandsListed_ = -1;  // the animation position lstCommands lists

  QLabel* lblCaption_;
  QLabel* lblFrame_;
  ObjectCanvas* canvas_;
  QTimer timer_;
  QElapsedTimer clock_;
  // A picked object being drawn off the window's thread, and what was asked
  // of it meanwhile.
  BackgroundTask<std::variant<DrawnObject, Finding>> drawTask_;
  std::shared_ptr<const WadDocument> drawnFrom_;
  std::optional<std::pair<std::int64_t, std::optional<std::int64_t>>> pendingFrame_;
  QTimer drawPoll_;
  QElapsedTimer drawClock_;
};

}  // namespace tarnlow::ui
