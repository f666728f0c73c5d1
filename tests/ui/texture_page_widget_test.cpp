#include "ui/texture_page_widget.h"

#include <QImage>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/wad_builder.h"

namespace tarnlow::ui {
namespace {

// A texture section of `rows` rows of one colour, with magenta at (x, y).
RecordArray<TextureRow> Rows(std::size_t rows, std::array<std::uint8_t, 3> colour, int x, int y) {
  Bytes bytes;
  for (std::size_t i = 0; i < rows * 256; ++i) bytes.insert(bytes.end(), colour.begin(), colour.end());
  const std::size_t at = (static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)) * 3;
  std::tie(bytes[at], bytes[at + 1], bytes[at + 2]) = std::tuple(255, 0, 255);
  return RecordArray<TextureRow>(rows, bytes);
}

TEST(TexturePageWidget, PagesOfTheChosenSourceWithAShortLastPage) {
  SwdDocument swd;
  swd.SwdTextData = Rows(64, {1, 2, 3}, 0, 0);
  TexturePageWidget widget;
  widget.showTexturePages(test::WadBuilder().textureRows(600).build(), swd);
  auto* pageBox = widget.findChild<QSpinBox*>();
  ASSERT_NE(pageBox, nullptr);
  EXPECT_EQ(pageBox->text(), "Page 1 of 3");
  widget.setPage(2);
  EXPECT_EQ(pageBox->text(), "Page 3 of 3");
  EXPECT_EQ(widget.image().size(), QSize(256, 88));
  widget.setPage(3);  // no such page: nothing changes
  EXPECT_EQ(widget.page(), 2);
  widget.setSource(TexturePageWidget::Source::Swd);
  EXPECT_EQ(pageBox->text(), "Page 1 of 1");
  EXPECT_EQ(widget.image().size(), QSize(256, 64));
  // A source without pages: no image, no page to choose.
  widget.showTexturePages(test::WadBuilder().build(), SwdDocument{});
  widget.setSource(TexturePageWidget::Source::Swd);
  EXPECT_TRUE(widget.image().isNull());
  EXPECT_FALSE(pageBox->isEnabled());
}

TEST(TexturePageWidget, ColourKeyShowsTheCheckerboardThrough) {
  WadDocument wad = test::WadBuilder().build();
  wad.TextData = Rows(256, {200, 40, 40}, 100, 100);
  TexturePageWidget widget;
  widget.resize(300, 320);
  widget.showTexturePages(wad, SwdDocument{});
  QImage shot(widget.size(), QImage::Format_ARGB32);
  widget.render(&shot);

  // Find the page on the screen: the first red pixel row by row.
  QPoint origin(-1, -1);
  for (int i = 0; i < shot.width() * shot.height() && origin.x() < 0; ++i) {
    const QPoint at(i % shot.width(), i / shot.width());
    if (shot.pixel(at) == qRgb(200, 40, 40)) origin = at;
  }
  ASSERT_GE(origin.x(), 0) << "the page is drawn";
  const QRgb key = shot.pixel(origin + QPoint(100, 100));
  EXPECT_TRUE(key == qRgb(204, 204, 204) || key == qRgb(153, 153, 153)) << std::hex << key;
  EXPECT_EQ(shot.pixel(origin + QPoint(101, 100)), qRgb(200, 40, 40));
}

}  // namespace
}  // namespace tarnlow::ui
