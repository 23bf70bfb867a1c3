// File > Recent Files, kept in settings under the temporary folder the test program sets.
#include "app/recent_files_menu.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>

namespace slab {
namespace {

QStringList Texts(QMenu& menu) {
  QStringList texts;
  for (QAction* action : menu.actions()) texts << action->text();
  return texts;
}

TEST(RecentFilesMenu, KeptBetweenRunsMissingDroppedAndAClickOpens) {
  QTemporaryDir dir;
  const auto file = [&](const char* name) { return (dir.path() + "/" + name).toStdString(); };
  for (const char* name : {"a.tr4", "b&c.tr2", "d.phd"}) std::ofstream(file(name)) << "x";
  {
    RecentFilesMenu menu;
    EXPECT_EQ(Texts(menu), QStringList({"(none)"}));
    for (const char* name : {"a.tr4", "b&c.tr2", "d.phd", "a.tr4"}) menu.Add(file(name));
  }
  std::remove(file("d.phd").c_str());
  RecentFilesMenu menu;  // a later run
  menu.popup(QPoint(0, 0));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  EXPECT_EQ(Texts(menu), QStringList({"&1 a.tr4", "&2 b&&c.tr2"}));
  EXPECT_EQ(LoadRecentFiles().size(), 2u) << "the missing file is dropped from the settings too";
  QAction* second = menu.findChild<QAction*>("Mnu_File_Recent_1");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->toolTip().toStdString(), file("b&c.tr2"));

  QSignalSpy spy(&menu, &RecentFilesMenu::OpenRequested);
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(second).center());
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString().toStdString(), file("b&c.tr2"));
}

}  // namespace
}  // namespace slab
