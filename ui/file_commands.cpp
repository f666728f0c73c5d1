#include "ui/file_commands.h"

#include <new>

#include "ui/platform.h"
#include "ui/qt_text.h"
#include "ui/session.h"
#include "wad/file_paths.h"
#include "wad/swd_reader.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow::ui {

namespace {
constexpr const char* kWadFilter = "TR WAD file (*.wad)|*.wad";
}  // namespace

std::string ReadWadErrorText(int number, const std::string& description) {
  const std::string shownNumber = number >= 0 ? " " + std::to_string(number) : std::to_string(number);
  return "ReadWAD -> error code" + shownNumber + "\n" + description;
}

std::optional<WadDocument> ReadWadOrSay(Platform& platform, const std::filesystem::path& path, bool lenient,
                                        std::int64_t& length) {
  try {
    return lenient ? ReadWADLenient(path, length) : ReadWAD(path, length);
  } catch (const WadError& error) {
    platform.ShowMessage(ReadWadErrorText(error.number(), error.what()), kAppTitle, MessageButtons::Ok,
                         MessageIcon::None);
  } catch (const std::bad_alloc&) {
    platform.ShowMessage(ReadWadErrorText(kOutOfMemory, "Out of memory"), kAppTitle, MessageButtons::Ok,
                         MessageIcon::None);
  }
  return std::nullopt;
}

OpenResult FileCommands::SelectAndOpen(int kind) {
  FileDialogRequest request;
  if (kind == kWad) {
    request.title = "Select a WAD to Edit";
    request.filter = kWadFilter;
  }
  request.filterIndex = 1;
  request.fileMustExist = true;
  const std::optional<FileDialogAnswer> answer = platform_.OpenFileDialog(request);
  if (!answer) return {};

  if (kind == kWas) {
    // The hidden "Open WAS..." reads the chosen file as the SWD companion,
    // so the command does what its name says.
    LoadSwd(answer->path);
    view_.ShowTexturePages();
    return {answer->path, CommandOutcome::Continue};
  }

  return OpenWad(answer->path);
}

OpenResult FileCommands::OpenWad(const std::string& path) {
  const std::string previousFileName = session_.WadFileName;
  const std::string previousTitle = session_.WadTitle;
  const std::string previousFolder = session_.WadFolder;
  session_.WadFileName = path;
  session_.WadTitle = FileTitle(session_.WadFileName, false);
  session_.WadFolder = FolderOf(session_.WadFileName);
  const CommandOutcome loaded = LoadWad(session_.WadFileName);
  if (loaded == CommandOutcome::EndProgram) return {path, CommandOutcome::EndProgram};
  if (loaded == CommandOutcome::Refused) {
    // Back to the WAD held before: its paths and label; the document, the
    // report, the lists and the pictures were never touched.
    session_.WadFileName = previousFileName;
    session_.WadTitle = previousTitle;
    session_.WadFolder = previousFolder;
    view_.SetWadLabel(session_.WadLoaded ? session_.WadFileName : std::string());
    return {};
  }
  view_.RepaintNow();
  session_.SwdPath = SwdPathFor(session_.WadFileName);
  LoadSwd(session_.SwdPath);
  session_.sounds = LoadSoundFiles(PathFromUtf8(session_.WadFileName));
  view_.ShowSummaryReport();
  view_.FillObjectList();
  view_.ShowTexturePages();
  return {path, CommandOutcome::Continue};
}

CommandOutcome FileCommands::LoadWad(const std::string& path) {
  if (!platform_.FileExists(path)) return CommandOutcome::Continue;
  view_.SetWadLabel(path);
  std::int64_t fileLength = 0;
  const CommandOutcome unreadable =
      session_.settings.stayOpenAfterUnreadableWad ? CommandOutcome::Refused : CommandOutcome::EndProgram;
  std::optional<WadDocument> document =
      ReadWadOrSay(platform_, PathFromUtf8(path), session_.settings.openEmptySections, fileLength);
  if (!document) return unreadable;
  session_.wad = std::move(*document);
  session_.wadFileLength = fileLength;
  session_.WadLoaded = true;
  view_.UpdateMenuStates();
  // Empty sections were asked for; a file that ends early was not, and the
  // user should know that what is shown is not all it was meant to hold.
  // The specified reading says nothing of the kind, so neither does the
  // window with the setting off.
  const bool toldCut = session_.settings.openEmptySections && session_.wad.reading.cutShort();
  session_.cutShortFile = toldCut ? path : std::string();
  if (!session_.cutShortFile.empty()) {
    platform_.ShowMessage("The WAD " + path + " is cut short (" +
                              DescribeReading(session_.wad.reading) + ").\nWhat the file holds is shown.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  }
  return CommandOutcome::Continue;
}

void FileCommands::LoadSwd(const std::string& derivedPath) {
  const std::optional<std::string> found = platform_.FindFile(derivedPath);
  if (!found) return;
  const std::string& path = *found;
  view_.SetSwdLabel(path);
  try {
    session_.swd = ReadSWD(PathFromUtf8(path));
  } catch (const WadError& error) {
    // Told rather than ignored: the label already names the new file while
    // the previous SWD stays loaded, and the user should know why.
    platform_.ShowMessage("The SWD file " + path + " could not be read:\n" + error.what() +
                              "\nThe SWD loaded before stays in use.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  }
}

void FileCommands::WriteDocument() {
  try {
    WriteWAD(PathFromUtf8(session_.WadFileName), session_.wad);
  } catch (const WadError& error) {
    // WriteWAD replaces the file only once every byte is written, so the
    // file on disk is still the one from before.
    platform_.ShowMessage("The WAD could not be saved to " + session_.WadFileName + ":\n" + error.what() +
                              "\nThe file on disk has not been changed.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  }
}

void FileCommands::SaveWad() {
  if (!session_.WadLoaded) return;
  if (!session_.cutShortFile.empty() && session_.WadFileName == session_.cutShortFile) {
    platform_.ShowMessage("The WAD was read from a file cut short; saving over " + session_.WadFileName +
                              " would lose its incomplete last bytes.\nUse \"Save WAD as...\" to write what was read "
                              "to a new file.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  WriteDocument();
}

void FileCommands::SaveWadAs() {
  if (!session_.WadLoaded) return;
  FileDialogRequest request;
  request.title = "Save as New Wad file";
  request.filter = kWadFilter;
  request.filterIndex = 1;
  request.initialName = session_.WadTitle;
  request.overwritePrompt = true;
  request.pathMustExist = true;
  const std::optional<FileDialogAnswer> answer = platform_.SaveFileDialog(request);
  if (!answer) return;
  session_.WadFileName = answer->path;
  view_.SetWadLabel(session_.WadFileName);
  session_.WadTitle = FileTitle(session_.WadFileName, false);
  WriteDocument();
  view_.MakeReport(session_.DetailLevel);
  view_.UpdateMenuStates();
}

}  // namespace tarnlow::ui
