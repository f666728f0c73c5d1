#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarnlow::ui {

class LineControl;
class Platform;

// The About box: name, version, description and ownership notice, and a
// button that starts the system-information program. Every display is a
// fresh dialog; its texts are set when it is built.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  frmAbout(Platform& platform, QWidget* parent);

  QLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  LineControl* Line1[2];
  QLabel* lblDisclaimer;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;

 private:
  void Form_Load();
  void cmdSysInfo_Click();

  Platform& platform_;
};

// "Version " and the program's major, minor and revision numbers.
QString VersionText();

}  // namespace tarnlow::ui
