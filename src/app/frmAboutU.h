#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>

#include <functional>

class QPushButton;

// A label that acts as a link: hand cursor, and Clicked on a left click.
class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  TLinkLabel(const QString& text, QWidget* parent);

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// Finds the desktop's system-information program: its path, or empty when
// none is installed. Replaceable for tests; returns the previous finder. An
// empty function restores the search of the PATH.
using TSystemInfoFinder = std::function<QString()>;
TSystemInfoFinder SetSystemInfoFinder(TSystemInfoFinder finder);
// The first of a few known system-information programs found on the PATH.
QString FindSystemInfoProgram();

// The about box: borderless with a painted frame, our artwork, the version,
// the web address as a link, and OK, "System Info" (only where the desktop
// has such a program; OK then sits lower) and "Tech Support".
class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(QWidget* owner);

  QLabel* VersionLabel() const { return fVersion; }
  TLinkLabel* WebLink() const { return fWebLink; }
  QPushButton* OKButton() const { return fOK; }
  QPushButton* SystemInfoButton() const { return fSystemInfo; }
  QPushButton* TechSupportButton() const { return fTechSupport; }
  // The system-information program the box would start; empty when none.
  QString SystemInfoProgram() const { return fSystemInfoProgram; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* fVersion;
  TLinkLabel* fWebLink;
  QPushButton* fOK;
  QPushButton* fSystemInfo;
  QPushButton* fTechSupport;
  QString fSystemInfoProgram;
};

// Shows the about box modally, centred on the owner's window.
void ShowAbout(QWidget* owner);
