// Pictures of the widgets and the artwork for looking at, not a check:
//   QT_SCALE_FACTOR=2 tests_widgets --gtest_also_run_disabled_tests
//       --gtest_filter='*Shots*'
// writes PNGs into $TESSELLAN_SHOTS (default /tmp/tessellan-shots).
#include "widgets/ButtonArt.h"
#include "widgets/CleanPanel.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/GrfxBtn.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

namespace {

QString ShotPath(const QString& name) {
  QString dir = qEnvironmentVariable("TESSELLAN_SHOTS", QStringLiteral("/tmp/tessellan-shots"));
  QDir().mkpath(dir);
  const int ratio = qRound(qApp->devicePixelRatio());
  return QStringLiteral("%1/%2@%3x.png").arg(dir, name).arg(ratio);
}

void Save(QWidget& widget, const QString& name) {
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  ASSERT_TRUE(widget.grab().save(ShotPath(name)));
}

TEST(WidgetShots, DISABLED_Write) {
  TdmSharedBmpResources& shared = dmSharedBmpResources();

  // Every picture at both sizes on a light and a dark strip.
  const QStringList names = ButtonArtNames();
  const int cols = 10;
  const int rows = (names.size() + cols - 1) / cols;
  const qreal ratio = qApp->devicePixelRatio();
  QPixmap sheet(QSize(cols * 44, rows * 80) * ratio);
  sheet.setDevicePixelRatio(ratio);
  sheet.fill(QColor(240, 240, 240));
  {
    QPainter p(&sheet);
    for (int i = 0; i < names.size(); ++i) {
      const QPoint at((i % cols) * 44 + 4, (i / cols) * 80 + 4);
      p.fillRect(QRect(at + QPoint(-2, 54), QSize(40, 20)), QColor(60, 60, 70));
      shared.imgSmallButtons.Draw(p, at, i);
      shared.imgLargeButtons.Draw(p, at + QPoint(0, 18), i);
      shared.imgSmallButtons.Draw(p, at + QPoint(10, 56), i);
    }
  }
  ASSERT_TRUE(sheet.save(ShotPath(QStringLiteral("art"))));
  ASSERT_TRUE(EyedropperPixmap(ratio).save(ShotPath(QStringLiteral("eyedropper"))));

  // The main window's bar with a modified map, and the preview's three
  // panels.
  QWidget bars;
  auto* layout = new QVBoxLayout(&bars);
  auto* main = new TColorStatusBar;
  main->AddPanels({24, 200, 50});
  main->SetImages(&shared.imgSmallButtons);
  main->SetPanelImage(0, TdmSharedBmpResources::kModifiedImage);
  main->Panel(0)->SetAlignment(TStatusPanelAlignment::Center);
  main->SetPanelText(1, QStringLiteral("Grid: 30 x 20 (5 ft squares)"));
  main->SetPanelText(2, QStringLiteral("Dungeon Floors"));
  auto* preview = new TColorStatusBar;
  preview->AddPanels({120, 120, 50});
  preview->SetPanelText(0, QStringLiteral("Page 3 of 9"));
  preview->SetPanelText(1, QStringLiteral("Zoom 100%"));
  preview->Panel(1)->SetBevel(TStatusPanelBevel::Raised);
  preview->Panel(1)->SetAlignment(TStatusPanelAlignment::Center);
  preview->SetPanelText(2, QStringLiteral("Flat, right"));
  preview->Panel(2)->SetBevel(TStatusPanelBevel::Flat);
  preview->Panel(2)->SetAlignment(TStatusPanelAlignment::Right);
  preview->Panel(2)->SetImageIndex(4);
  preview->SetImages(&shared.imgSmallButtons);
  auto* simple = new TColorStatusBar;
  simple->AddPanels({24, 200});
  simple->SetSimpleText(QStringLiteral("Loading tileset Dungeon Floors..."));
  simple->SetSimplePanel(true);
  layout->addWidget(main);
  layout->addWidget(preview);
  layout->addWidget(simple);
  bars.resize(520, 90);
  Save(bars, QStringLiteral("statusbars"));

  // Captioned panels holding picture buttons.
  QWidget panels;
  auto* row = new QHBoxLayout(&panels);
  auto* tilePreview = new TCleanPanel(QStringLiteral("Tile Preview"));
  auto* palette = new TCleanPanel(QStringLiteral("Palette"));
  palette->SetCaptionTextColor(palette->palette().color(QPalette::Light));
  row->addWidget(tilePreview);
  row->addWidget(palette);
  auto* buttons = new QHBoxLayout(tilePreview->Client());
  std::vector<TGrafxButton*> grafx;
  for (const char* name : {"fliph", "flipv", "rotccw", "rotcw"}) {
    auto* button = new TGrafxButton;
    const QString art = QString::fromUtf8(name);
    button->SetPicNormal(ButtonArtPixmap(art, 16, ratio));
    button->SetPicHiLight(ButtonArtHiLight(art, 16, ratio));
    button->SetPicDisabled(ButtonArtDisabled(art, 16, ratio));
    buttons->addWidget(button);
    grafx.push_back(button);
  }
  grafx[3]->setEnabled(false);
  new QLabel(QStringLiteral("client area"), palette->Client());
  panels.resize(360, 140);
  panels.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panels));
  // The second button under the mouse.
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(grafx[1]->mapToGlobal(QPoint(4, 4))));
  QApplication::sendEvent(grafx[1], &enter);
  Save(panels, QStringLiteral("panels"));

  // A print preview toolbar of large buttons, the page buttons disabled as
  // on the first page.
  QToolBar toolbar;
  toolbar.setIconSize(QSize(32, 32));
  for (const char* name : {"firstpage", "prevpage", "nextpage", "lastpage", "zoomin", "zoomout",
                           "printpage", "printersetup", "close"}) {
    QAction* action = toolbar.addAction(shared.Icon(QString::fromUtf8(name)), QString());
    action->setEnabled(qstrcmp(name, "firstpage") != 0 && qstrcmp(name, "prevpage") != 0);
  }
  toolbar.resize(toolbar.sizeHint());
  Save(toolbar, QStringLiteral("toolbar"));
}

}  // namespace
