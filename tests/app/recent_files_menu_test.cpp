// File > Recent Files, kept in settings under a temporary folder (never the user's own).
#include "app/recent_files_menu.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/level_files.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class RecentFilesMenuTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("slab_recent_" + std::to_string(::getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_ / "settings");
    const QString settings = QString::fromStdString((dir_ / "settings").string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Touch(const std::string& name) {
    std::ofstream(dir_ / name) << "x";
    return (dir_ / name).string();
  }
  static QStringList Texts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) texts << action->text();
    return texts;
  }
  fs::path dir_;
};

TEST_F(RecentFilesMenuTest, KeptBetweenRunsMissingDroppedAndAClickOpens) {
  {
    RecentFilesMenu menu;
    EXPECT_EQ(Texts(menu), QStringList({"(none)"}));
    menu.Add(Touch("a.tr4"));
    menu.Add(Touch("b&c.tr2"));
    menu.Add(Touch("d.phd"));
    menu.Add((dir_ / "a.tr4").string());  // again: moves first
  }
  EXPECT_TRUE(QSettings(kSettingsOrganisation, kSettingsApplication)
                  .fileName()
                  .startsWith(QString::fromStdString(dir_.string())));

  fs::remove(dir_ / "d.phd");
  RecentFilesMenu menu;  // a later run
  menu.popup(QPoint(0, 0));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  EXPECT_EQ(Texts(menu), QStringList({"&1 a.tr4", "&2 b&&c.tr2"}));
  EXPECT_EQ(LoadRecentFiles().size(), 2u) << "the missing file is dropped from the settings too";
  QAction* second = menu.findChild<QAction*>("Mnu_File_Recent_1");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->toolTip().toStdString(), (dir_ / "b&c.tr2").string());

  QSignalSpy spy(&menu, &RecentFilesMenu::OpenRequested);
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(second).center());
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString().toStdString(), (dir_ / "b&c.tr2").string());
}

TEST_F(RecentFilesMenuTest, StoredListIsCutToTen) {
  std::vector<std::string> many;
  for (int i = 0; i < 14; ++i) many.push_back(Touch("l" + std::to_string(i) + ".tr4"));
  SaveRecentFiles(many);
  const auto loaded = LoadRecentFiles();
  ASSERT_EQ(loaded.size(), kMaxRecentFiles);
  EXPECT_EQ(loaded.front(), many.front());
  RecentFilesMenu menu;
  EXPECT_EQ(menu.actions().size(), 10);
  EXPECT_EQ(menu.actions().back()->text(), "1&0 l9.tr4");
}

}  // namespace
}  // namespace slab
