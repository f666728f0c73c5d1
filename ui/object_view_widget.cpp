#include "ui/object_view_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <variant>

#include "anim/anim_commands.h"
#include "anim/frame_box.h"
#include "anim/key_frame.h"
#include "anim/pose.h"
#include "mesh/mesh_lists.h"
#include "mesh/slot_names.h"
#include "mesh/static_meshes.h"
#include "ui/preview_style.h"
#include "ui/textured_faces.h"

namespace tarnlow::ui {

namespace {

using namespace preview_style;

const QColor kHighlight(255, 170, 40);
// The key frame's stored box, and the drawn figure's.
const QColor kStoredBox(255, 230, 0);
const QColor kDrawnBox(235, 235, 235);

// About 60 ticks a second: smooth between the game's 30 frames.
constexpr int kTickMilliseconds = 16;

}  // namespace

// The picture: paints the faces the scene maths projected, far to near.
class ObjectCanvas : public QWidget {
 public:
  explicit ObjectCanvas(ObjectViewWidget& view) : QWidget(&view), view_(view) {
    setMouseTracking(false);
    setToolTip(kMouseHelp);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (!view_.hasObject()) {
      painter.setPen(kText.darker(150));
      painter.drawText(rect().adjusted(8, 4, -8, -4), Qt::AlignCenter | Qt::TextWordWrap, view_.caption());
      return;
    }
    QPen edge(kEdge);
    QPen highlightEdge(kHighlight);
    highlightEdge.setWidthF(1.5);
    for (const ObjectFace& face : view_.faces_) {
      QPolygonF polygon;
      for (int c = 0; c < face.cornerCount; ++c) polygon << QPointF(face.corners[c].x, face.corners[c].y);
      const bool highlighted = view_.highlight_ && static_cast<std::size_t>(*view_.highlight_) == face.mesh;
      const QImage* page = face.texture != nullptr ? view_.pages_.at(face.texture->page, face.brightness) : nullptr;
      if (page != nullptr) {
        painter.setPen(Qt::NoPen);
        PaintTexturedFace(painter, face.corners.data(), face.cornerCount, *face.texture, *page);
      } else {
        painter.setPen(edge);
        painter.setBrush(Shaded(kFace, face.brightness));
        painter.drawPolygon(polygon);
      }
      if (highlighted) {
        painter.setPen(highlightEdge);
        painter.setBrush(QColor(kHighlight.red(), kHighlight.green(), kHighlight.blue(), 110));
        painter.drawPolygon(polygon);
      }
    }
    if (view_.boxes_) {
      const auto drawEdges = [&painter](const std::array<ScreenEdge, 12>& edges, const QPen& pen) {
        painter.setPen(pen);
        for (const ScreenEdge& e : edges) painter.drawLine(QPointF(e[0].x, e[0].y), QPointF(e[1].x, e[1].y));
      };
      drawEdges(view_.boxes_->drawn, QPen(kDrawnBox, 1, Qt::DotLine));
      drawEdges(view_.boxes_->stored, QPen(kStoredBox, 1.5, Qt::DashLine));
    }
  }

  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    view_.reproject();
  }
  void mousePressEvent(QMouseEvent* event) override {
    drag_ = DragOf(*event);
    if (drag_ != Drag::None) dragFrom_ = event->position();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (drag_ == Drag::None || event->buttons() == Qt::NoButton) return;
    const QPointF at = event->position();
    const QPointF delta = at - dragFrom_;
    dragFrom_ = at;
    if (drag_ == Drag::Pan) {
      view_.camera_ = Pan(view_.camera_, viewport(), delta.x(), delta.y());
    } else {
      view_.camera_.orbit(delta.x() * kTurnPerPixel, delta.y() * kTurnPerPixel);
    }
    view_.reproject();
  }
  void mouseReleaseEvent(QMouseEvent*) override { drag_ = Drag::None; }
  void mouseDoubleClickEvent(QMouseEvent*) override { view_.requestWindowOrFit(); }
  void wheelEvent(QWheelEvent* event) override {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    const QPointF at = event->position();
    view_.camera_ = ZoomAt(view_.camera_, viewport(), at.x(), at.y(), std::pow(kZoomPerNotch, notches));
    view_.reproject();
    event->accept();
  }

 private:
  Viewport viewport() const { return {double(width()), double(height())}; }

  ObjectViewWidget& view_;
  Drag drag_ = Drag::None;
  QPointF dragFrom_;
};

ObjectViewWidget::ObjectViewWidget(QWidget* parent)
    : QWidget(parent),
      cboAnimation(new QComboBox(this)),
      cmdPlay(new QPushButton(QStringLiteral("Play"), this)),
      cmdStepBack(new QToolButton(this)),
      cmdStepForward(new QToolButton(this)),
      sldFrame(new QSlider(Qt::Horizontal, this)),
      chkNext(new QCheckBox(QStringLiteral("Next animation"), this)),
      chkBox(new QCheckBox(QStringLiteral("Box"), this)),
      cmdWindow(new QPushButton(QStringLiteral("Window"), this)),
      cmdExport(new QPushButton(QStringLiteral("Export..."), this)),
      lstCommands(new QListWidget(this)),
      lblCaption_(new QLabel(this)),
      lblFrame_(new QLabel(this)),
      canvas_(new ObjectCanvas(*this)) {
  lblCaption_->setWordWrap(true);
  cmdPlay->setCheckable(true);
  cmdStepBack->setArrowType(Qt::LeftArrow);
  cmdStepBack->setToolTip(QStringLiteral("One frame back"));
  cmdStepForward->setArrowType(Qt::RightArrow);
  cmdStepForward->setToolTip(QStringLiteral("One frame on"));
  chkNext->setChecked(true);
  chkNext->setToolTip(QStringLiteral("At the end of an animation go on to its next animation, as the game does; "
                                     "unticked, start it over"));
  chkBox->setToolTip(QStringLiteral("Show the box stored in the key frame (yellow, dashed), which the game "
                                    "collides with, beside the box of the figure drawn (white, dotted)"));
  timer_.setInterval(kTickMilliseconds);
  drawPoll_.setInterval(50);
  cmdWindow->setToolTip(QStringLiteral("Show the object in a window of its own, as large as you like"));
  cmdExport->setToolTip(QStringLiteral("Write the object as glTF with all its animations, this pose as OBJ, "
                                       "or the picture as PNG"));
  cmdWindow->hide();
  // A few lines: most animations carry fewer commands; the list scrolls.
  lstCommands->setMaximumHeight(4 * lstCommands->fontMetrics().lineSpacing() + 2 * lstCommands->frameWidth());
  lstCommands->setToolTip(QStringLiteral("The commands of the chosen animation"));

  // Two rows, so that beside the static list, where the view is narrowest,
  // the slider keeps its length and no control is cut.
  auto* transport = new QHBoxLayout;
  transport->addWidget(cmdPlay);
  transport->addWidget(cmdStepBack);
  transport->addWidget(cmdStepForward);
  transport->addWidget(sldFrame, 1);
  auto* frameLine = new QHBoxLayout;
  frameLine->addWidget(lblFrame_, 1);
  frameLine->addWidget(chkNext);
  frameLine->addWidget(chkBox);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lblCaption_);
  layout->addWidget(canvas_, 1);
  auto* chooser = new QHBoxLayout;
  chooser->addWidget(cboAnimation, 1);
  chooser->addWidget(cmdWindow);
  chooser->addWidget(cmdExport);
  layout->addLayout(chooser);
  layout->addLayout(transport);
  layout->addLayout(frameLine);
  layout->addWidget(lstCommands);

  connect(cboAnimation, &QComboBox::currentIndexChanged, this, [this](int position) {
    playback_.choose(position);
    pose();
    // A chosen animation is framed whole; one reached by playing on is not,
    // so the picture does not jump while it plays.
    fit();
  });
  connect(cmdPlay, &QPushButton::toggled, this, [this](bool on) { setPlaying(on); });
  connect(cmdStepBack, &QToolButton::clicked, this, [this] {
    playback_.stepBack();
    pose();
  });
  connect(cmdStepForward, &QToolButton::clicked, this, [this] {
    playback_.stepForward();
    pose();
  });
  connect(sldFrame, &QSlider::valueChanged, this, [this](int frame) {
    playback_.seek(frame);
    pose();
  });
  connect(cmdWindow, &QPushButton::clicked, this, &ObjectViewWidget::windowRequested);
  connect(cmdExport, &QPushButton::clicked, this, &ObjectViewWidget::exportRequested);
  connect(chkNext, &QCheckBox::toggled, this, [this](bool on) { playback_.setFollowsNext(on); });
  connect(chkBox, &QCheckBox::toggled, this, [this] {
    measureBoxes();
    syncControls();
    reproject();
  });
  connect(&drawPoll_, &QTimer::timeout, this, &ObjectViewWidget::pollDrawing);
  connect(&timer_, &QTimer::timeout, this, [this] {
    const double seconds = static_cast<double>(clock_.restart()) / 1000.0;
    advance(seconds);
  });
  clear();
}

ObjectViewWidget::~ObjectViewWidget() = default;

QWidget* ObjectViewWidget::canvas() const { return canvas_; }

QImage ObjectViewWidget::picture() const {
  QImage image(canvas_->size(), QImage::Format_ARGB32);
  canvas_->render(&image);
  return image;
}

std::optional<std::size_t> ObjectViewWidget::moveable() const {
  return object_ ? std::optional<std::size_t>(object_->moveable) : std::nullopt;
}

const ObjectModel* ObjectViewWidget::model() const {
  if (object_) return &object_->model;
  return static_ ? &staticModel_ : nullptr;
}

void ObjectViewWidget::setOpensWindow(bool on) {
  opensWindow_ = on;
  cmdWindow->setVisible(on);
}

void ObjectViewWidget::requestWindowOrFit() {
  if (opensWindow_ && hasObject()) {
    Q_EMIT windowRequested();
  } else {
    fit();
  }
}

void ObjectViewWidget::clear() {
  drawTask_.forget();
  drawPoll_.stop();
  drawnFrom_.reset();
  pendingFrame_.reset();
  document_ = {};
  object_.reset();
  static_.reset();
  staticModel_ = {};
  pose_.reset();
  failure_.clear();
  playback_ = Playback();
  world_.clear();
  poseProblem_.clear();
  pages_.clear();
  faces_.clear();
  highlight_.reset();
  boxes_.reset();
  boxSaid_.clear();
  fillAnimations();
  syncControls();
  canvas_->update();
}

void ObjectViewWidget::showObject(const WadDocument& document, std::size_t moveableIndex) {
  clear();
  showDrawn(document, DrawObject(document, moveableIndex));
}

void ObjectViewWidget::pickObject(const WadDocument& document, std::size_t moveableIndex) {
  if (NamedKeyFrames(document, moveableIndex) <= kKeyFramesDrawnAtOnce) {
    showObject(document, moveableIndex);
    Q_EMIT objectShown();
    return;
  }
  clear();
  auto copy = std::make_shared<const WadDocument>(document);
  drawnFrom_ = copy;
  drawTask_.start([copy, moveableIndex] { return DrawObject(*copy, moveableIndex); });
  drawClock_.start();
  drawPoll_.start();
  syncControls();
}

void ObjectViewWidget::pollDrawing() {
  std::optional<std::variant<DrawnObject, Finding>> drawn;
  try {
    drawn = drawTask_.take();
  } catch (const std::exception& e) {
    drawPoll_.stop();
    failure_ = QStringLiteral("This object cannot be drawn: %1").arg(QString::fromUtf8(e.what()));
    syncControls();
    canvas_->update();
    return;
  }
  if (!drawn) {
    lblCaption_->setText(caption());
    canvas_->update();
    return;
  }
  drawPoll_.stop();
  const std::optional<int> highlight = highlight_;
  const auto frame = pendingFrame_;
  const std::shared_ptr<const WadDocument> document = std::move(drawnFrom_);
  pendingFrame_.reset();
  showDrawn(*document, std::move(*drawn));
  if (frame) showAnimationFrame(frame->first, frame->second);
  if (highlight) highlightMesh(highlight);
  Q_EMIT objectShown();
}

void ObjectViewWidget::showDrawn(const WadDocument& document, std::variant<DrawnObject, Finding> drawn) {
  if (const auto* problem = std::get_if<Finding>(&drawn)) {
    failure_ = QStringLiteral("This object cannot be assembled: %1").arg(QString::fromStdString(problem->problem));
    lblCaption_->setText(failure_);
    return;
  }
  document_ = document;
  namer_.emplace(document_, &names_);
  object_ = std::move(std::get<DrawnObject>(drawn));
  loadPages(object_->pages);
  playback_ = Playback(PlaybackAnimations(object_->graph));
  fillAnimations();
  pose();
  fit();
}

void ObjectViewWidget::showStatic(const WadDocument& document, std::size_t staticIndex) {
  clear();
  if (staticIndex >= document.StaticMeshes.size()) {
    failure_ = QStringLiteral("There is no static mesh %1.").arg(staticIndex);
    lblCaption_->setText(failure_);
    return;
  }
  document_ = document;
  namer_.emplace(document_, &names_);
  static_ = staticIndex;
  staticModel_ = LoadObjectModel(document_, {ReadStaticMeshEntry(document_, staticIndex).Mesh});
  std::vector<std::size_t> pages;
  if (const std::optional<SceneMesh>& mesh = staticModel_.meshes.front()) {
    for (const std::optional<FaceTexture>& texture : mesh->textures) {
      if (texture) pages.push_back(texture->page);
    }
  }
  loadPages(pages);
  syncControls();
  fit();
}

void ObjectViewWidget::setNames(const ObjectNameTables& names) {
  names_ = names;
  namer_.emplace(document_, &names_);
  lblCaption_->setText(caption());
}

QString ObjectViewWidget::said(const Finding& finding) const {
  return QString::fromStdString(namer_ ? namer_->line(finding) : FormatFinding(finding));
}

void ObjectViewWidget::showSameAs(const ObjectViewWidget& other) {
  if (&other.names_ != &names_) setNames(other.names_);
  sounds_ = other.sounds_;
  {
    const QSignalBlocker blocker(chkBox);
    chkBox->setChecked(other.chkBox->isChecked());
  }
  if (other.object_) {
    // The other view's drawing, not a new one: drawing may take long.
    clear();
    showDrawn(other.document_, *other.object_);
    if (other.playback_.animation() >= 0) {
      cboAnimation->setCurrentIndex(other.playback_.animation());
      playback_.seek(other.playback_.frame());
      pose();
    }
  } else if (other.static_) {
    showStatic(other.document_, *other.static_);
  } else {
    clear();
    return;
  }
  highlightMesh(other.highlight_);
  // Seen from the same side, but framed for this view: the other view's
  // zoom and pan were chosen for its own picture.
  camera_.yaw = other.camera_.yaw;
  camera_.pitch = other.camera_.pitch;
  fit();
}

void ObjectViewWidget::loadPages(const std::vector<std::size_t>& pages) {
  for (const std::size_t page : pages) pages_.load(document_.TextData, page);
}

void ObjectViewWidget::fillAnimations() {
  const QSignalBlocker blocker(cboAnimation);
  cboAnimation->clear();
  const std::vector<PlaybackAnimation>& animations = playback_.animations();
  for (std::size_t i = 0; i < animations.size(); ++i) {
    const AnimationRecord record = document_.Animations[static_cast<std::size_t>(animations[i].index)];
    QString line = QString::fromStdString(AnimationLine(animations[i], static_cast<int>(i), record));
    const std::optional<Finding>& problem = object_->animationProblems[i];
    // A mark the eye finds in a long list; the reason is one hover away. A
    // note (an animation without key frames) is said in the line itself.
    if (problem && problem->severity != Severity::Note) {
      line += problem->severity == Severity::Error ? QStringLiteral("  [broken]") : QStringLiteral("  [!]");
    }
    cboAnimation->addItem(line);
    if (problem) {
      cboAnimation->setItemData(static_cast<int>(i), said(*problem), Qt::ToolTipRole);
    }
  }
  cboAnimation->setCurrentIndex(playback_.animation());
  fillCommands();
}

void ObjectViewWidget::setSounds(std::shared_ptr<const SoundTable> sounds) {
  sounds_ = std::move(sounds);
  fillCommands();
  lblCaption_->setText(caption());
}

void ObjectViewWidget::fillCommands() {
  commandsListed_ = playback_.animation();
  lstCommands->clear();
  if (!object_ || commandsListed_ < 0) return;
  for (const AnimCommand& command : object_->graph.animations[static_cast<std::size_t>(commandsListed_)].commands) {
    lstCommands->addItem(QString::fromStdString(DescribeAnimCommand(command.type, command.operands, sounds_.get())));
  }
}

void ObjectViewWidget::highlightMesh(std::optional<int> meshNumber) {
  highlight_ = meshNumber;
  canvas_->update();
  lblCaption_->setText(caption());
}

void ObjectViewWidget::showAnimationFrame(std::int64_t animation, std::optional<std::int64_t> frame) {
  if (drawing()) {
    pendingFrame_.emplace(animation, frame);
    return;
  }
  const std::vector<PlaybackAnimation>& animations = playback_.animations();
  const auto found = std::find_if(animations.begin(), animations.end(),
                                  [animation](const PlaybackAnimation& a) { return a.index == animation; });
  if (found == animations.end()) return;
  const int position = static_cast<int>(found - animations.begin());
  playback_.setPlaying(false);
  playback_.choose(position);
  if (frame) {
    const AnimationRecord record = document_.Animations[static_cast<std::size_t>(animation)];
    playback_.seek(static_cast<double>(*frame - FrameNumber(record.FrameStart)));
  }
  {
    const QSignalBlocker blocker(cboAnimation);
    cboAnimation->setCurrentIndex(position);
  }
  updateTimer();
  pose();
}

void ObjectViewWidget::advance(double seconds) {
  const int before = playback_.animation();
  playback_.advance(seconds);
  if (playback_.animation() != before) {
    const QSignalBlocker blocker(cboAnimation);
    cboAnimation->setCurrentIndex(playback_.animation());
  }
  if (!playback_.playing()) {
    const QSignalBlocker blocker(cmdPlay);
    cmdPlay->setChecked(false);
    updateTimer();
  }
  pose();
}

const Finding* ObjectViewWidget::animationProblem() const {
  const int position = playback_.animation();
  if (!object_ || position < 0) return nullptr;
  const std::optional<Finding>& problem = object_->animationProblems[static_cast<std::size_t>(position)];
  return problem ? &*problem : nullptr;
}

void ObjectViewWidget::pose() {
  if (!object_) return;
  poseProblem_.clear();
  const int position = playback_.animation();
  std::optional<std::int64_t> animation;
  if (position >= 0 && playback_.animations()[static_cast<std::size_t>(position)].frameCount > 0) {
    animation = playback_.animations()[static_cast<std::size_t>(position)].index;
  }
  // Frames after the first of a broken animation are read from the wrong
  // words and fly apart; its first key frame is still right.
  const Finding* broken = animationProblem();
  const double frame = broken != nullptr && broken->severity == Severity::Error ? 0 : playback_.frame();
  std::variant<ObjectPose, Finding> posed = PoseSkeleton(document_, object_->skeleton, animation, frame);
  if (const auto* problem = std::get_if<Finding>(&posed)) {
    // The meshes still stand, unturned, where the mesh tree puts them.
    poseProblem_ = said(*problem);
    posed = PoseSkeleton(document_, object_->skeleton, std::nullopt, 0);
  }
  world_.clear();
  pose_.reset();
  if (auto* objectPose = std::get_if<ObjectPose>(&posed)) {
    for (const MeshPose& mesh : objectPose->meshes) world_.push_back(mesh.world);
    pose_ = std::move(*objectPose);
  }
  measureBoxes();
  syncControls();
  reproject();
}

void ObjectViewWidget::measureBoxes() {
  boxes_.reset();
  boxSaid_.clear();
  const int position = playback_.animation();
  if (!chkBox->isChecked() || !object_ || !pose_ || !pose_->animation || position < 0) return;
  const BoundingBox& s = pose_->box;
  BoxOverlay overlay;
  overlay.storedLow = {double(s.minX), double(s.minY), double(s.minZ)};
  overlay.storedHigh = {double(s.maxX), double(s.maxY), double(s.maxZ)};
  Box3 drawn;
  for (const Vec3& p : PosedVertices(object_->model, world_)) drawn.add({p.x, p.y, p.z});
  if (!drawn.empty()) {
    overlay.drawnLow = {drawn.min.x, drawn.min.y, drawn.min.z};
    overlay.drawnHigh = {drawn.max.x, drawn.max.y, drawn.max.z};
  }
  boxes_ = overlay;
  // Only a key frame has a box of its own: between two, the figure is a
  // blend and the box is the earlier key frame's.
  const AnimationNode& node = object_->graph.animations[static_cast<std::size_t>(position)];
  const FrameSample sample = SampleFrame(std::max(node.keyFrameCount, 1), std::max<int>(node.frameRate, 1),
                                         pose_->frame);
  if (sample.t > 0) {
    boxSaid_ = QStringLiteral("box: between key frames %1 and %2, the box shown is key frame %1's")
                   .arg(sample.from)
                   .arg(sample.to);
    return;
  }
  const std::optional<double> difference = BoxDifference(s, drawn);
  boxSaid_ = difference ? QStringLiteral("box: key frame %1's stored box lies %2 units from the figure's")
                              .arg(sample.from)
                              .arg(std::lround(*difference))
                        : QStringLiteral("box: key frame %1 stores no box (a minimum above its maximum)")
                              .arg(sample.from);
}

void ObjectViewWidget::reproject() {
  const QSize size = canvas_->size();
  const ObjectModel* shown = model();
  if (shown == nullptr) {
    faces_.clear();
    canvas_->update();
    return;
  }
  const Viewport viewport{double(size.width()), double(size.height())};
  faces_ = ProjectObject(*shown, world_, camera_, viewport);
  if (boxes_) {
    boxes_->stored = ProjectBoxEdges(camera_, viewport, boxes_->storedLow, boxes_->storedHigh);
    boxes_->drawn = ProjectBoxEdges(camera_, viewport, boxes_->drawnLow, boxes_->drawnHigh);
  }
  canvas_->update();
}

void ObjectViewWidget::fit() {
  if (const ObjectModel* shown = model()) {
    std::vector<Vec3> points = PosedVertices(*shown, world_);
    // The whole animation, so that a crawl or a fall stays in the picture;
    // the figure shown is added in case its boxes are wrong.
    const int position = playback_.animation();
    if (object_ && position >= 0) {
      const std::vector<Vec3> extent =
          AnimationExtent(document_, *object_, object_->graph.animations[static_cast<std::size_t>(position)]);
      points.insert(points.end(), extent.begin(), extent.end());
    }
    camera_ = FitToPoints(camera_, points);
  }
  reproject();
}

QString ObjectViewWidget::caption() const {
  if (static_) {
    const std::optional<SceneMesh>& mesh = staticModel_.meshes.front();
    QString text = QStringLiteral("%1: %2 vertices, %3 faces")
                       .arg(QString::fromStdString(StaticMeshTitle(document_, &names_, *static_)))
                       .arg(mesh ? mesh->mesh.Vertices.size() : 0)
                       .arg(mesh ? mesh->mesh.Faces.size() : 0);
    if (!staticModel_.problems.empty()) text += QLatin1Char('\n') + QString::fromStdString(staticModel_.problems.front());
    return text;
  }
  if (drawing()) return QStringLiteral("Drawing the object... %1 s").arg(drawClock_.elapsed() / 1000);
  if (!object_) return failure_.isEmpty() ? QStringLiteral("No object selected.") : failure_;
  const ObjectModel& model = object_->model;
  std::size_t faceCount = 0;
  for (const std::optional<SceneMesh>& mesh : model.meshes) faceCount += mesh ? mesh->mesh.Faces.size() : 0;
  QString text = QStringLiteral("%1 meshes, %2 faces").arg(model.meshes.size()).arg(faceCount);
  const int position = playback_.animation();
  if (position < 0) {
    text += QStringLiteral("; no animations: the rest pose");
  } else if (playback_.animations()[static_cast<std::size_t>(position)].frameCount <= 0) {
    text += QStringLiteral("; animation %1 has no frames to play: the rest pose")
                .arg(playback_.animations()[static_cast<std::size_t>(position)].index);
  }
  if (highlight_) text += QStringLiteral("; %1 highlighted").arg(QString::fromStdString(MeshLabel(*highlight_)));
  if (!boxSaid_.isEmpty()) text += QLatin1Char('\n') + boxSaid_;
  // Stopped on a frame that starts a sound: which one. Not while playing,
  // where the line would come and go every few frames.
  if (position >= 0 && !playback_.playing()) {
    const AnimationNode& node = object_->graph.animations[static_cast<std::size_t>(position)];
    const int frame = FrameNumber(node.record.FrameStart) + static_cast<int>(std::floor(playback_.frame()));
    for (const AnimCommand& command : node.commands) {
      if (command.type == kPlaySound && FrameNumber(command.operands[0]) == frame) {
        text += QLatin1Char('\n') + QString::fromStdString(DescribeAnimCommand(command.type, command.operands, sounds_.get()));
      }
    }
  }
  QStringList problems;
  // The chosen animation's own problem first: it is why the picture holds.
  if (const Finding* problem = animationProblem()) problems << said(*problem);
  if (!poseProblem_.isEmpty()) problems << QStringLiteral("Cannot pose this frame: %1").arg(poseProblem_);
  for (const std::string& problem : model.problems) problems << QString::fromStdString(problem);
  // A finding about another of the object's animations says nothing about
  // this picture; the animation chooser marks it.
  const std::optional<std::int64_t> chosen =
      position >= 0 ? std::optional<std::int64_t>(playback_.animations()[static_cast<std::size_t>(position)].index)
                    : std::nullopt;
  for (const Finding& problem : object_->findings) {
    const std::optional<std::int64_t> about =
        problem.animation ? problem.animation
                          : (problem.section == "Animations" ? std::optional<std::int64_t>(problem.record) : std::nullopt);
    if (about && about != chosen) continue;
    problems << said(problem);
  }
  if (!playback_.stopReason().empty()) problems << QString::fromStdString(playback_.stopReason());
  // Two lines stay readable; the Check button lists everything.
  if (!problems.isEmpty()) {
    text += QLatin1Char('\n') + problems.front();
    if (problems.size() > 1) text += QStringLiteral(" (and %1 more)").arg(problems.size() - 1);
  }
  return text;
}

void ObjectViewWidget::syncControls() {
  const int position = playback_.animation();
  if (position != commandsListed_) fillCommands();
  const int frames = position >= 0 ? playback_.animations()[static_cast<std::size_t>(position)].frameCount : 0;
  const bool playable = frames > 0;
  for (QWidget* control : std::initializer_list<QWidget*>{cmdPlay, cmdStepBack, cmdStepForward, sldFrame}) {
    control->setEnabled(playable);
  }
  cboAnimation->setEnabled(position >= 0);
  cmdWindow->setEnabled(hasObject());
  cmdExport->setEnabled(hasObject());
  {
    const QSignalBlocker blocker(sldFrame);
    sldFrame->setRange(0, std::max(frames - 1, 0));
    sldFrame->setValue(static_cast<int>(std::floor(playback_.frame())));
  }
  {
    const QSignalBlocker blocker(cmdPlay);
    cmdPlay->setChecked(playback_.playing());
    cmdPlay->setText(playback_.playing() ? QStringLiteral("Pause") : QStringLiteral("Play"));
  }
  // As the view counts it, and as findings and the file number it.
  const double stored =
      playable ? FrameNumber(document_.Animations[static_cast<std::size_t>(
                                 playback_.animations()[static_cast<std::size_t>(position)].index)].FrameStart) +
                     playback_.frame()
               : 0;
  lblFrame_->setText(playable ? QStringLiteral("frame %1 of %2, stored %3")
                                    .arg(playback_.frame(), 0, 'g', 6)
                                    .arg(frames)
                                    .arg(stored, 0, 'g', 6)
                              : QString());
  lblCaption_->setText(caption());
}

void ObjectViewWidget::setPlaying(bool playing) {
  playback_.setPlaying(playing);
  syncControls();
  updateTimer();
}

void ObjectViewWidget::updateTimer() {
  if (playback_.playing() && isVisible()) {
    if (!timer_.isActive()) {
      clock_.start();
      timer_.start();
    }
  } else {
    timer_.stop();
  }
}

void ObjectViewWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  updateTimer();
}

void ObjectViewWidget::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_.stop();
}

}  // namespace tarnlow::ui
