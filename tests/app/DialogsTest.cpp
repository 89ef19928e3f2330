// The Map Properties and Options dialogs: what they show, the map-name check
// with its two wordings, and what OK and Cancel write.
#include "app/MapNameCheck.h"
#include "app/frmMapPropsU.h"
#include "app/frmOptionsU.h"
#include "app/settings/SettingsStore.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString NameQuestion(const QString& typed, const QString& cleaned, const QString& what) {
  return QStringLiteral("The map name \"") + typed +
         QStringLiteral(
             "\" contains characters that cannot be used in a file name. Tessellan "
             "removed the invalid characters, and the ") +
         what + QStringLiteral(" is \"") + cleaned +
         QStringLiteral("\".\r\n\r\n Do you wish to continue with the ") + what +
         QStringLiteral("? Click Yes to continue and use the ") + what +
         QStringLiteral(", click No to enter a different name.");
}

void ClickOK(QDialog& dialog, QPushButton* ok) {
  dialog.show();
  QTest::mouseClick(ok, Qt::LeftButton);
}

}  // namespace

TEST(MapNameCheck, StripsTheThirteenCharactersAndTrimsBlanks) {
  EXPECT_EQ(StripInvalidFileNameChars(QStringLiteral("a\\b/c.d*e&f!g@h#i$j%k^l`m?n")),
            QStringLiteral("abcdefghijklmn"));
  EXPECT_EQ(StripInvalidFileNameChars(QStringLiteral("Keep: <this> | \"that\"")),
            QStringLiteral("Keep: <this> | \"that\""));
  EXPECT_EQ(TrimmedName(QStringLiteral("\t  Crypt of Ash \r\n")), QStringLiteral("Crypt of Ash"));
}

TEST(MapPropertiesDialog, ANewMapIsNamedCheckedAndSizedByTheUser) {
  // A map wider than the dialog allows, as default sizes up to 100 squares
  // can make.
  TTileMap map(TMapDefaults{120, 20, QStringLiteral("BattleMap1"), QString(), 2.0f, 50});
  TfrmMapProps dialog(nullptr, true);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Map"));
  EXPECT_FALSE(dialog.OKButton()->isEnabled());
  dialog.Fill(map);
  EXPECT_EQ(dialog.Pages()->tabText(0), QStringLiteral("Properties"));
  EXPECT_EQ(dialog.Pages()->tabText(1), QStringLiteral("Additional"));
  EXPECT_EQ(dialog.WidthSpin()->value(), 50);
  EXPECT_EQ(dialog.HeightSpin()->value(), 10);
  EXPECT_EQ(dialog.GridSizeList()->currentText(), QStringLiteral("2 inch grid - 35 mm Miniatures"));
  EXPECT_TRUE(dialog.OKButton()->isEnabled());

  dialog.MapNameEdit()->clear();
  EXPECT_FALSE(dialog.OKButton()->isEnabled());

  // No keeps the dialog open with the cleaned name; Yes closes it.
  dialog.MapNameEdit()->setText(QStringLiteral("My/Map?"));
  ScriptedMessages().Answers = {TMsgAnswer::No};
  ClickOK(dialog, dialog.OKButton());
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.MapNameEdit()->text(), QStringLiteral("MyMap"));
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  const TMessage& question = ScriptedMessages().Shown[0];
  EXPECT_EQ(question.Text, NameQuestion(QStringLiteral("My/Map?"), QStringLiteral("MyMap"),
                                        QStringLiteral("new map name")));
  EXPECT_EQ(question.Caption, QStringLiteral("Invalid Map Name"));
  EXPECT_EQ(question.Icon, TMsgIcon::Warning);
  EXPECT_EQ(question.Buttons, TMsgButtons(mbYes | mbNo));
  EXPECT_EQ(question.Owner, &dialog);

  // A name that is already clean closes the dialog without a question.
  ClickOK(dialog, dialog.OKButton());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ScriptedMessages().Shown.size(), 1u);

  dialog.HeightSpin()->setValue(7);
  dialog.GridSizeList()->setCurrentIndex(0);
  dialog.AuthorEdit()->setText(QStringLiteral("Ann"));
  dialog.DescriptionEdit()->setPlainText(QStringLiteral("Two rooms\nand a hall"));
  dialog.Apply(map);
  EXPECT_EQ(map.MapName(), QStringLiteral("MyMap"));
  EXPECT_EQ(map.Width(), 100);
  EXPECT_EQ(map.Height(), 14);
  EXPECT_EQ(map.TileSize(), 0.25f);
  EXPECT_EQ(map.AuthorName(), QStringLiteral("Ann"));
  EXPECT_EQ(map.Information(), QStringLiteral("Two rooms\nand a hall"));
  EXPECT_TRUE(map.Modified());
  EXPECT_EQ(Settings().Value(QStringLiteral("Author")), QStringLiteral("Ann"));

  // Clearing the author removes the setting for the rest of the run.
  TfrmMapProps again(nullptr, false);
  EXPECT_EQ(again.windowTitle(), QStringLiteral("Map Properties"));
  again.Fill(map);
  again.AuthorEdit()->clear();
  again.Apply(map);
  EXPECT_FALSE(Settings().Contains(QStringLiteral("Author")));
}

TEST(MapPropertiesDialog, BlanksAloneTriggerTheCheckAndAllForbiddenEmptiesTheName) {
  TTileMap map;
  TfrmMapProps dialog(nullptr, false);
  dialog.Fill(map);
  dialog.MapNameEdit()->setText(QStringLiteral(" Crypt "));
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  ClickOK(dialog, dialog.OKButton());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.MapNameEdit()->text(), QStringLiteral("Crypt"));

  TfrmMapProps forbidden(nullptr, false);
  forbidden.Fill(map);
  forbidden.MapNameEdit()->setText(QStringLiteral("?*."));
  ClickOK(forbidden, forbidden.OKButton());  // answered Yes, the first button
  EXPECT_EQ(forbidden.result(), QDialog::Accepted);
  EXPECT_TRUE(forbidden.MapNameEdit()->text().isEmpty());
}

TEST(OptionsDialog, ShowsAndWritesTheDefaultsOfNewMaps) {
  Settings().SetValue(QStringLiteral("MRULen"), QStringLiteral("9"));
  Settings().SetValue(QStringLiteral("DefMapWidth"), QStringLiteral("200"));
  Settings().SetValue(QStringLiteral("DefTileSize"), QStringLiteral("5"));
  TfrmOptions dialog(nullptr);
  dialog.Fill();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
  EXPECT_EQ(dialog.Pages()->tabText(0), QStringLiteral("Default Map Settings"));
  EXPECT_EQ(dialog.Pages()->tabText(1), QStringLiteral("Application Settings"));
  EXPECT_EQ(dialog.RecentFilesSpin()->value(), 9);
  EXPECT_EQ(dialog.MapNameEdit()->text(), QStringLiteral("BattleMap"));
  EXPECT_EQ(dialog.WidthSpin()->value(), 100);
  EXPECT_EQ(dialog.HeightSpin()->value(), 10);
  EXPECT_EQ(dialog.GridSizeList()->currentIndex(), 5);

  // Spin boxes hold their ranges.
  dialog.RecentFilesSpin()->setValue(12);
  EXPECT_EQ(dialog.RecentFilesSpin()->value(), 9);
  dialog.RecentFilesSpin()->setValue(0);
  dialog.HeightSpin()->setValue(0);
  EXPECT_EQ(dialog.HeightSpin()->value(), 1);

  dialog.MapNameEdit()->setText(QStringLiteral("Crypt#"));
  ClickOK(dialog, dialog.OKButton());
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Text,
            NameQuestion(QStringLiteral("Crypt#"), QStringLiteral("Crypt"),
                         QStringLiteral("new default map name")));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  dialog.Apply();
  EXPECT_EQ(Settings().Value(QStringLiteral("MRULen")), QStringLiteral("0"));
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapName")), QStringLiteral("Crypt"));
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapWidth")), QStringLiteral("200"));
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapHeight")), QStringLiteral("2"));
  EXPECT_EQ(Settings().Value(QStringLiteral("DefTileSize")), QStringLiteral("5"));

  // An empty default name is accepted and leaves the bag.
  dialog.MapNameEdit()->clear();
  ClickOK(dialog, dialog.OKButton());
  dialog.Apply();
  EXPECT_FALSE(Settings().Contains(QStringLiteral("DefMapName")));
}
