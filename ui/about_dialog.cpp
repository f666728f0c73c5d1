#include "ui/about_dialog.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "ui/emblem.h"
#include "ui/line_control.h"
#include "ui/sys_info.h"
#include "ui/twips.h"

namespace tarnlow::ui {

QString VersionText() {
  return QStringLiteral("Version %1.%2.%3").arg(TARNLOW_VERSION_MAJOR).arg(TARNLOW_VERSION_MINOR).arg(TARNLOW_VERSION_PATCH);
}

frmAbout::frmAbout(Platform& platform, QWidget* parent) : QDialog(parent), platform_(platform) {
  const Twips tw = Twips::OfScreen();
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(tw.px(5730), tw.px(3555));
  setWindowIcon(WindowIcon());
  setFont(LayoutFont());

  picIcon = LabelAt(this, tw, 180, 240, 1065, 1080);
  picIcon->setPixmap(Emblem());
  picIcon->resize(picIcon->pixmap().size());

  lblTitle = LabelAt(this, tw, 1440, 240, 4065, 480);
  lblTitle->setAlignment(Qt::AlignCenter);
  lblTitle->setFrameShape(QFrame::Box);
  lblTitle->setLineWidth(1);
  QFont titleFont(QStringLiteral("Courier New"), 24, QFont::Bold);
  titleFont.setStyleHint(QFont::Courier);
  lblTitle->setFont(titleFont);
  lblTitle->setAutoFillBackground(true);
  QPalette titlePalette = lblTitle->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(128, 0, 0));
  titlePalette.setColor(QPalette::Window, QColor(255, 192, 128));
  lblTitle->setPalette(titlePalette);

  lblVersion = LabelAt(this, tw, 1470, 780, 4005, 225);
  lblDescription = LabelAt(this, tw, 1470, 1125, 4005, 1170);
  lblDescription->setWordWrap(true);
  lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // Grey above white: an etched rule above the buttons.
  Line1[1] = new LineControl(QColor(128, 128, 128), 1, this);
  Line1[1]->span(tw.px(90), tw.px(5654), tw.px(2445));
  Line1[0] = new LineControl(Qt::white, 2, this);
  Line1[0]->span(tw.px(105), tw.px(5654), tw.px(2460));

  lblDisclaimer = LabelAt(this, tw, 255, 2625, 3870, 825);
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  for (QLabel* label : {lblDescription, lblDisclaimer}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
  }

  cmdOK = new QPushButton(this);
  cmdOK->setGeometry(tw.rect(4260, 2625, 1260, 345));
  cmdOK->setDefault(true);
  cmdOK->setAutoDefault(true);
  cmdSysInfo = new QPushButton(this);
  cmdSysInfo->setGeometry(tw.rect(4260, 3075, 1245, 345));
  cmdSysInfo->setAutoDefault(false);
  // Esc closes the dialog through reject(), Enter through the default OK.
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

  setTabOrder(cmdOK, cmdSysInfo);
  Form_Load();
}

void frmAbout::Form_Load() {
  setWindowTitle(QStringLiteral("About Tarnlow"));
  lblTitle->setText(QStringLiteral("Tarnlow"));
  lblVersion->setText(VersionText());
  lblDescription->setText(QStringLiteral(
      "This software will help you investigate a Tomb Raider WAD, edit its meshes animations and save the "
      "changes to a valid WAD file. Thanks to the level builders who documented the format. Bug reports "
      "are welcome."));
  lblDisclaimer->setText(QStringLiteral(
      "Tomb Raider is a trademark of its owners, who neither made nor endorse this tool. "
      "Every WAD remains the property of its authors."));
  cmdOK->setText(QStringLiteral("OK"));
  cmdSysInfo->setText(QStringLiteral("System Info..."));
}

void frmAbout::cmdSysInfo_Click() { StartSysInfo(platform_); }

}  // namespace tarnlow::ui
