#include "report/report_tables.h"

#include <string>
#include <string_view>

#include "report/number_format.h"

namespace tarnlow {

namespace {

// One row buffer per table, reused for every row, so a row costs one
// allocation: the line's own string.
class RowBuffer {
 public:
  RowBuffer() { text_.reserve(256); }
  std::string& start() {
    text_.clear();
    return text_;
  }
  std::string_view view() const { return text_; }

 private:
  std::string text_;
};

void AddNumAfter(std::string& row, std::string_view separator, std::int64_t value) {
  row.append(separator);
  AppendNum(row, value);
}

constexpr std::string_view kAnimationHeader =
    "No , FrameOffset, Frame Rate, FrameSize, StateID"
    ", Unknown1_1, Unknown1_2, Unknown1_3, Unknown1_4, Unknown1_5, Unknown1_6, Unknown1_7, Unknown1_8"
    ", Unknown2_1, Unknown2_2, Unknown2_3, Unknown2_4, Unknown2_5, Unknown2_6, Unknown2_7, Unknown2_8"
    ", FrameStart, FrameEnd, NextAnimation, NextFrame"
    ", NumStateChanges, StateChange, AnimCommands";

void AddVectorRows(ReportBuilder& report, RowBuffer& buffer, std::int16_t count, const std::vector<MeshVector>& vectors) {
  const std::size_t rows = TrustedCount(count, vectors.size());
  for (std::size_t j = 0; j < rows; ++j) {
    std::string& row = buffer.start();
    row.append("  , ");
    AppendNum(row, static_cast<std::int64_t>(j));
    AddNumAfter(row, ",", vectors[j].X);
    AddNumAfter(row, ",", vectors[j].Y);
    AddNumAfter(row, ",", vectors[j].Z);
    report.AddReportLine(buffer.view());
  }
}

}  // namespace

void AddMeshPointerTable(ReportBuilder& report, const WadDocument& document) {
  report.AddReportLine("No , MeshPointer(Dec), MeshPointer(Hex)");
  RowBuffer buffer;
  const std::size_t rows = TrustedCount(document.NumMeshPointers, document.MeshPointers.size());
  for (std::size_t i = 0; i < rows; ++i) {
    const std::int32_t pointer = document.MeshPointers[i];
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ", ", pointer);
    row.append(", ");
    AppendHex(row, pointer);
    report.AddReportLine(buffer.view());
  }
}

void AddAnimationTable(ReportBuilder& report, const WadDocument& document) {
  report.AddReportLine(kAnimationHeader);
  RowBuffer buffer;
  const std::size_t rows = TrustedCount(document.NumAnimations, document.Animations.size());
  for (std::size_t i = 0; i < rows; ++i) {
    const AnimationRecord a = document.Animations[i];
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ",", a.FrameOffset);
    AddNumAfter(row, ",", a.FrameRate);
    AddNumAfter(row, ",", a.FrameSize);
    AddNumAfter(row, ",", a.StateID);
    for (const std::uint8_t b : a.Unknown1) AddNumAfter(row, ",", b);
    for (const std::uint8_t b : a.Unknown2) AddNumAfter(row, ",", b);
    AddNumAfter(row, ",", a.FrameStart);
    AddNumAfter(row, ",", a.FrameEnd);
    AddNumAfter(row, ",", a.NextAnimation);
    AddNumAfter(row, ",", a.NextFrame);
    AddNumAfter(row, ",", a.NumStateChanges);
    AddNumAfter(row, ",", a.StateChange);
    AddNumAfter(row, ",", a.AnimCommands);
    report.AddReportLine(buffer.view());
  }
}

void AddStateChangeTable(ReportBuilder& report, const WadDocument& document) {
  report.AddReportLine("No ,StateID, NumAnimDispatched, AnimDispatches");
  RowBuffer buffer;
  const std::size_t rows = TrustedCount(document.NumStateChanges, document.StateChanges.size());
  for (std::size_t i = 0; i < rows; ++i) {
    const StateChangeRecord s = document.StateChanges[i];
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ",", s.StateID);
    AddNumAfter(row, ",", s.NumAnimDispatched);
    AddNumAfter(row, ",", s.AnimDispatches);
    report.AddReportLine(buffer.view());
  }
}

void AddDispatchTable(ReportBuilder& report, const WadDocument& document) {
  report.AddReportLine("No, Low, High, NextAnimation, NextFrame");
  RowBuffer buffer;
  const std::size_t rows = TrustedCount(document.NumAnimDispatches, document.AnimDispatches.size());
  for (std::size_t i = 0; i < rows; ++i) {
    const AnimDispatchRecord d = document.AnimDispatches[i];
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ", ", d.Low);
    AddNumAfter(row, ", ", d.High);
    AddNumAfter(row, ", ", d.NextAnimation);
    AddNumAfter(row, ", ", d.NextFrame);
    report.AddReportLine(buffer.view());
  }
}

void AddCommandTable(ReportBuilder& report, const WadDocument& document) {
  report.AddReportLine("No, AnimCommand");
  RowBuffer buffer;
  const std::size_t rows = TrustedCount(document.NumAnimCommands, document.AnimCommands.size());
  for (std::size_t i = 0; i < rows; ++i) {
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ", ", document.AnimCommands[i]);
    report.AddReportLine(buffer.view());
  }
}

void AddMeshTable(ReportBuilder& report, const std::vector<MeshRecord>& meshes) {
  if (meshes.empty()) return;
  report.AddReportLine("No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces");
  RowBuffer buffer;
  for (std::size_t i = 0; i < meshes.size(); ++i) {
    const MeshRecord& m = meshes[i];
    std::string& row = buffer.start();
    AppendNum(row, static_cast<std::int64_t>(i));
    AddNumAfter(row, ",", m.CentreX);
    AddNumAfter(row, ",", m.CentreY);
    AddNumAfter(row, ",", m.CentreZ);
    AddNumAfter(row, ",", m.CollisionSize);
    AddNumAfter(row, ",", m.NumVertices);
    AddNumAfter(row, ",", m.NumNormals);
    AddNumAfter(row, ",", m.NumFaces);
    report.AddReportLine(buffer.view());
    report.AddReportLine("  , Vertices No, X ,Y ,Z ");
    AddVectorRows(report, buffer, m.NumVertices, m.Vertices);
    report.AddReportLine("  , Normals No, X ,Y ,Z ");
    // A negative NumNormals counts shades, which the report does not print.
    AddVectorRows(report, buffer, m.NumNormals, m.Normals);
  }
  report.AddReportLine(kDashRule);
}

std::size_t MeshTableLineCount(const std::vector<MeshRecord>& meshes) {
  if (meshes.empty()) return 0;
  std::size_t lines = 2;
  for (const MeshRecord& m : meshes) {
    lines += 3 + TrustedCount(m.NumVertices, m.Vertices.size()) + TrustedCount(m.NumNormals, m.Normals.size());
  }
  return lines;
}

}  // namespace tarnlow
