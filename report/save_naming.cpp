#include "report/save_naming.h"

namespace tarnlow {

std::optional<ReportSaveTarget> ResolveReportSaveName(std::string_view chosenName, int filterIndex) {
  if (chosenName.empty()) return std::nullopt;
  std::string name = LowerCaseName(chosenName);
  const std::size_t folderEnd = name.find_last_of("\\/");
  const std::size_t fileStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
  if (fileStart == name.size()) return std::nullopt;

  std::string_view extension = ".txt";
  ReportFileType type = ReportFileType::PlainText;
  if (filterIndex == 1) {
    extension = ".rtf";
    type = ReportFileType::RichText;
  } else if (filterIndex >= 3) {
    extension = ".CSV";
  }

  // Every name is re-extended from the filter entry, even one that carries
  // another of the three extensions; a name without "." gets the extension
  // appended, so the file opens with the program its form needs.
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot >= fileStart) name.resize(dot);
  name.append(extension);
  return ReportSaveTarget{std::move(name), type};
}

std::optional<ReportSaveTarget> ResolveReportSaveNameKeepingFolder(std::string_view chosenName, int filterIndex) {
  const std::size_t folderEnd = chosenName.find_last_of("\\/");
  const std::size_t fileStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
  std::optional<ReportSaveTarget> target = ResolveReportSaveName(chosenName.substr(fileStart), filterIndex);
  if (target) target->fileName.insert(0, chosenName.substr(0, fileStart));
  return target;
}

bool OverwriteQuestionNeeded(std::string_view reportFileName, std::string_view chosenName) {
  return reportFileName.empty() || LowerCaseName(reportFileName) != LowerCaseName(chosenName);
}

std::string_view ReportSaveDialogTitle(std::string_view reportFileName) {
  return reportFileName.empty() ? "Save File as" : "Save File";
}

}  // namespace tarnlow
