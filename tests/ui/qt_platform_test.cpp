#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QPrintDialog>
#include <QPrinter>
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace tarnlow::ui {
namespace {

TEST(QtNameFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(QtNameFilters("TR WAD file (*.wad)|*.wad"), QStringList{"TR WAD file (*.wad)"});
  EXPECT_EQ(QtNameFilters("RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv"),
            (QStringList{"RichText file (*.rtf)", "Text file (*.txt)", "CSV file (*.csv)"}));
  EXPECT_EQ(QtNameFilters("Levels|*.wad;*.swd"), QStringList{"Levels (*.wad *.swd)"});
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(VisibleFileExists, HiddenFilesAndFoldersCountAsMissing) {
  tarnlow::test::TempDir dir;
  tarnlow::test::WriteFileBytes(dir / "level.wad", Bytes{1});
  tarnlow::test::WriteFileBytes(dir / ".level.wad", Bytes{1});
  EXPECT_TRUE(VisibleFileExists((dir / "level.wad").string()));
#ifndef _WIN32
  // A leading dot hides a file here; Windows hides by attribute
  // (windows_platform_test.cpp).
  EXPECT_FALSE(VisibleFileExists((dir / ".level.wad").string()));
#endif
  EXPECT_FALSE(VisibleFileExists((dir / "none.wad").string()));
  EXPECT_FALSE(VisibleFileExists(dir.path().string()));
}

// As the Windows dialog behaves: no page range to type, and "Selection"
// always shown, greyed while nothing is selected.
TEST(PrintDialog, OffersNoPageRangeAndGreysSelectionWhileNothingIsSelected) {
  for (const bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "text selected" : "nothing selected");
    QPrinter printer;
    QPrintDialog dialog(&printer);
    ConfigurePrintDialog(dialog, PrintRequest{selected, selected});
#ifdef _WIN32
    // The native dialog draws its own controls from these options.
    EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintSelection), selected);
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_EQ(dialog.printRange() == QAbstractPrintDialog::Selection, selected);
#else
    dialog.show();
    const auto* selection = dialog.findChild<QAbstractButton*>(QStringLiteral("printSelection"));
    ASSERT_NE(selection, nullptr);
    EXPECT_FALSE(selection->isHidden());
    EXPECT_EQ(selection->isEnabled(), selected);
    EXPECT_EQ(selection->isChecked(), selected);
    const auto* pages = dialog.findChild<QAbstractButton*>(QStringLiteral("printRange"));
    EXPECT_TRUE(pages == nullptr || pages->isHidden() || !pages->isEnabled());
    dialog.hide();
#endif
  }
}

}  // namespace
}  // namespace tarnlow::ui
