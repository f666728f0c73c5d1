#include "report/save_naming.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

constexpr auto kRich = ReportFileType::RichText;
constexpr auto kPlain = ReportFileType::PlainText;

struct NameCase {
  const char* chosen;
  int filter;
  const char* fileName;
  ReportFileType type;
};

void ExpectNames(std::optional<ReportSaveTarget> (*resolve)(std::string_view, int),
                 std::initializer_list<NameCase> cases) {
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.chosen) + " with entry " + std::to_string(c.filter));
    const auto target = resolve(c.chosen, c.filter);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->fileName, c.fileName);
    EXPECT_EQ(target->type, c.type);
  }
}

TEST(ResolveReportSaveName, LowerCasesAndReExtendsFromTheFilterEntry) {
  ExpectNames(ResolveReportSaveName, {
      {"C:\\Reports\\Karnak.txt", 1, "c:\\reports\\karnak.rtf", kRich},
      {"C:\\Reports\\Stats.TXT", 2, "c:\\reports\\stats.txt", kPlain},
      {"C:\\Reports\\Stats.TXT", 3, "c:\\reports\\stats.CSV", kPlain},
      {"stats.rtf", 4, "stats.CSV", kPlain},
      {"stats.rtf", 0, "stats.txt", kPlain},
      {"stats.rtf", -7, "stats.txt", kPlain},
      {"Stats.CSV", 1, "stats.rtf", kRich},
      // Only the last "." of the file name counts; one in a folder never does.
      {"C:\\My.Reports\\Level.One.txt", 1, "c:\\my.reports\\level.one.rtf", kRich},
      {"C:\\My.Reports\\Karnak", 2, "c:\\my.reports\\karnak.txt", kPlain},
      {"/home/me/v1.2/karnak", 3, "/home/me/v1.2/karnak.CSV", kPlain},
      {"Karnak.", 2, "karnak.txt", kPlain},
      // No exception for names with both ".txt" and ".rtf" in them.
      {"A.txt.rtf", 2, "a.txt.txt", kPlain},
      {"A.rtf.txt", 1, "a.rtf.rtf", kRich},
      // Latin-1 letters are lowered too; other characters stay.
      {"C:\\\xC3\x89T\xC3\x89\\\xC3\x80 \xC3\x97 \xC3\x9E.TXT", 2, "c:\\\xC3\xA9t\xC3\xA9\\\xC3\xA0 \xC3\x97 \xC3\xBE.txt",
       kPlain},
      {"\xD0\x96.txt", 2, "\xD0\x96.txt", kPlain},
  });
}

TEST(ResolveReportSaveNameKeepingFolder, LowersOnlyTheFileNameAndKeepsTheFolderAsChosen) {
  ExpectNames(ResolveReportSaveNameKeepingFolder, {
      {"/home/Me/Reports/Karnak.TXT", 1, "/home/Me/Reports/karnak.rtf", kRich},
      {"/home/Me/Reports/Karnak.TXT", 3, "/home/Me/Reports/karnak.CSV", kPlain},
      {"C:\\Reports\\Stats.TXT", 2, "C:\\Reports\\stats.txt", kPlain},
      // Either separator ends the folder; the last one wins.
      {"/home/Me\\Sub/Karnak", 3, "/home/Me\\Sub/karnak.CSV", kPlain},
      {"/home/Me/Sub\\Karnak", 3, "/home/Me/Sub\\karnak.CSV", kPlain},
      // A "." in the folder is no extension, and the folder keeps its case.
      {"/home/Me/V1.2/Karnak", 1, "/home/Me/V1.2/karnak.rtf", kRich},
      {"/home/Me/V1.2/Level.One.Txt", 2, "/home/Me/V1.2/level.one.txt", kPlain},
      {"Karnak.Rtf", 3, "karnak.CSV", kPlain},
      {"/Karnak", 2, "/karnak.txt", kPlain},
      {"/home/\xC3\x89T\xC3\x89/\xC3\x80.TXT", 2, "/home/\xC3\x89T\xC3\x89/\xC3\xA0.txt", kPlain},
  });
}

TEST(ResolveReportSaveName, GivesNothingForANameWithoutFile) {
  for (const char* chosen : {"", "C:\\Reports\\", "/tmp/", "/"}) {
    EXPECT_FALSE(ResolveReportSaveName(chosen, 3).has_value()) << chosen;
    EXPECT_FALSE(ResolveReportSaveNameKeepingFolder(chosen, 3).has_value()) << chosen;
  }
}

TEST(LowerCaseName, LeavesBrokenUtf8Alone) { EXPECT_EQ(LowerCaseName("\xC3" "A\x80Z"), "\xC3" "a\x80z"); }

TEST(OverwriteQuestionNeeded, AskedBeforeTheFirstSaveAndForEveryOtherName) {
  const struct { const char* reportFileName; const char* chosen; bool needed; } cases[] = {
      {"", "c:\\reports\\karnak.csv", true},
      {"", "", true},
      {"c:\\reports\\karnak.CSV", "C:\\Reports\\Karnak.csv", false},
      {"c:\\reports\\karnak.CSV", "c:\\reports\\karnak.txt", true},
      {"c:\\reports\\karnak.CSV", "c:\\reports\\other.CSV", true},
      {"c:\\\xC3\xA9t\xC3\xA9.txt", "C:\\\xC3\x89T\xC3\x89.TXT", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OverwriteQuestionNeeded(c.reportFileName, c.chosen), c.needed) << c.reportFileName << " -> " << c.chosen;
  }
}

TEST(ReportSaveDialogTitle, SaysSaveAsOnlyBeforeTheFirstSave) {
  EXPECT_EQ(ReportSaveDialogTitle(""), "Save File as");
  EXPECT_EQ(ReportSaveDialogTitle("c:\\reports\\karnak.CSV"), "Save File");
}

}  // namespace
}  // namespace tarnlow
