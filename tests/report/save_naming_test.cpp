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

void ExpectNames(std::optional<ReportSaveTarget> (*resolve)(std::string_view, int), std::initializer_list<NameCase> cases) {
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.chosen) + " with entry " + std::to_string(c.filter));
    const auto target = resolve(c.chosen, c.filter);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(std::pair(target->fileName, target->type), std::pair(std::string(c.fileName), c.type));
  }
}

// Only the last "." of the file name counts; one in a folder never does.
// Latin-1 letters are lowered too; other characters stay.
TEST(ResolveReportSaveName, LowerCasesAndReExtendsFromTheFilterEntry) {
  ExpectNames(ResolveReportSaveName, {
      {"C:\\Reports\\Karnak.txt", 1, "c:\\reports\\karnak.rtf", kRich},
      {"C:\\Reports\\Stats.TXT", 2, "c:\\reports\\stats.txt", kPlain},
      {"Stats.rtf", 3, "stats.CSV", kPlain},
      {"stats.rtf", -7, "stats.txt", kPlain},
      {"C:\\My.Reports\\Level.One.txt", 1, "c:\\my.reports\\level.one.rtf", kRich},
      {"/home/me/v1.2/karnak", 3, "/home/me/v1.2/karnak.CSV", kPlain},
      {"A.rtf.txt", 1, "a.rtf.rtf", kRich},
      {"C:\\\xC3\x89T\xC3\x89\\\xC3\x80 \xC3\x97.TXT", 2, "c:\\\xC3\xA9t\xC3\xA9\\\xC3\xA0 \xC3\x97.txt", kPlain},
      {"\xD0\x96.txt", 2, "\xD0\x96.txt", kPlain},
  });
  EXPECT_EQ(LowerCaseName("\xC3" "A\x80Z"), "\xC3" "a\x80z");
}

// Either separator ends the folder; the last one wins.
TEST(ResolveReportSaveNameKeepingFolder, LowersOnlyTheFileNameAndKeepsTheFolderAsChosen) {
  ExpectNames(ResolveReportSaveNameKeepingFolder, {
      {"/home/Me/Reports/Karnak.TXT", 1, "/home/Me/Reports/karnak.rtf", kRich},
      {"/home/Me\\Sub/Karnak", 3, "/home/Me\\Sub/karnak.CSV", kPlain},
      {"/home/Me/Sub\\Karnak", 3, "/home/Me/Sub\\karnak.CSV", kPlain},
      {"/home/Me/V1.2/Level.One.Txt", 2, "/home/Me/V1.2/level.one.txt", kPlain},
      {"/home/\xC3\x89T\xC3\x89/\xC3\x80.TXT", 2, "/home/\xC3\x89T\xC3\x89/\xC3\xA0.txt", kPlain},
  });
  for (const char* chosen : {"", "C:\\Reports\\", "/"}) {
    EXPECT_FALSE(ResolveReportSaveName(chosen, 3).has_value()) << chosen;
    EXPECT_FALSE(ResolveReportSaveNameKeepingFolder(chosen, 3).has_value()) << chosen;
  }
}

TEST(OverwriteQuestionNeeded, AskedBeforeTheFirstSaveAndForEveryOtherName) {
  const struct { const char* reportFileName; const char* chosen; bool needed; } cases[] = {
      {"", "c:\\reports\\karnak.csv", true},
      {"c:\\reports\\karnak.CSV", "C:\\Reports\\Karnak.csv", false},
      {"c:\\reports\\karnak.CSV", "c:\\reports\\karnak.txt", true},
      {"c:\\\xC3\xA9t\xC3\xA9.txt", "C:\\\xC3\x89T\xC3\x89.TXT", false},
  };
  for (const auto& c : cases) EXPECT_EQ(OverwriteQuestionNeeded(c.reportFileName, c.chosen), c.needed) << c.chosen;
  EXPECT_EQ(ReportSaveDialogTitle(""), "Save File as");
  EXPECT_EQ(ReportSaveDialogTitle("c:\\reports\\karnak.CSV"), "Save File");
}

}  // namespace
}  // namespace tarnlow
