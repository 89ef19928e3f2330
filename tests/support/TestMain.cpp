// The main of every test program: a QApplication on the offscreen platform,
// the scripted message service, and settings read from the test's own
// configuration folder; the XDG folders and TMPDIR lie in the build tree.
#include "ScriptedMessages.h"
#include "TestApplication.h"
#include "app/settings/SettingsStore.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

TScriptedMessageService* gService = nullptr;

// Every test starts with no recorded boxes, no scripted answers and the
// default settings.
class TResetBetweenTests : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    gService->Shown.clear();
    gService->Answers.clear();
    gService->WhileShown = nullptr;
    OpenSettingsStore()->clear();
    LoadSettings();
  }
};

}  // namespace

TScriptedMessageService& ScriptedMessages() {
  return *gService;
}

TApplicationFactory& TestApplicationFactory() {
  static TApplicationFactory factory = nullptr;
  return factory;
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The settings, data and temporary folders of the build tree, never the
  // user's, for this program and every program it starts.
  for (const auto& [name, folder] :
       {std::pair{"XDG_CONFIG_HOME", "/config"}, std::pair{"XDG_DATA_HOME", "/data"},
        std::pair{"TMPDIR", "/tmp"}})
    qputenv(name, QByteArray(TESSELLAN_BINARY_DIR "/test-home") + folder);
  std::unique_ptr<QApplication> app = TestApplicationFactory()
                                          ? TestApplicationFactory()(argc, argv)
                                          : std::make_unique<QApplication>(argc, argv);
  // ctest runs tests in parallel processes: each gets a settings file of its
  // own inside the build tree's temporary folder.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  testing::InitGoogleTest(&argc, argv);

  auto service = std::make_unique<TScriptedMessageService>();
  gService = service.get();
  SetMessageService(std::move(service));
  testing::UnitTest::GetInstance()->listeners().Append(new TResetBetweenTests);
  return RUN_ALL_TESTS();
}
