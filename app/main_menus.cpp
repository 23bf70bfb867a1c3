#include "app/main_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/recent_files_menu.h"

namespace slab {
namespace {

QAction* Add(QMenu& menu, const char* name, const char* caption,
             const std::function<void()>& command) {
  QAction* action = menu.addAction(caption);
  action->setObjectName(name);
  QObject::connect(action, &QAction::triggered, &menu, [command] { command(); });
  return action;
}

QMenu& AddMenu(QMainWindow& window, const char* name, const char* caption) {
  QMenu* menu = window.menuBar()->addMenu(caption);
  menu->setObjectName(name);
  return *menu;
}

}  // namespace

MainMenus::MainMenus(QMainWindow& window, const Borrowed& borrowed, const Commands& commands) {
  BuildFile(AddMenu(window, "Mnu_File", "&File"), borrowed, commands);

  QMenu& edit = AddMenu(window, "Mnu_Edit", "&Edit");
  undo_ = Add(edit, "Mnu_Edit_Undo", "Undo", commands.Undo);
  undo_->setShortcut(QKeySequence::Undo);
  redo_ = Add(edit, "Mnu_Edit_Redo", "Redo", commands.Redo);
  redo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  Add(edit, "Mnu_Edit_Duplicate", "Duplicate", commands.Duplicate)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

  BuildView(AddMenu(window, "Mnu_View", "&View"), borrowed, commands);

  QMenu& demo = AddMenu(window, "Mnu_Demo", "&Demo");
  demoRec_ = Add(demo, "Mnu_Demo_Rec", "Start Recording", commands.DemoRec);
  demoStop_ = Add(demo, "Mnu_Demo_Stop", "Stop Recording", commands.DemoStop);

  QMenu& help = AddMenu(window, "Mnu_Help", "&Help");
  Add(help, "Mnu_Help_MineCart", "&MineCart Help", commands.MineCartHelp);
  Add(help, "Mnu_Help_Keys", "&Keys", commands.Keys);
  Add(help, "Mnu_Help_About", "&About", commands.About);
}

void MainMenus::BuildFile(QMenu& file, const Borrowed& borrowed, const Commands& commands) {
  Add(file, "Mnu_File_Open", "&Open", commands.Open)->setShortcut(QKeySequence::Open);
  save_ = Add(file, "Mnu_File_Save", "&Save", commands.Save);
  save_->setShortcut(QKeySequence::Save);
  saveAs_ = Add(file, "Mnu_File_SaveAs", "Save As...", commands.SaveAs);
  Add(file, "Mnu_File_Reload", "&Reload", commands.Reload)->setShortcut(Qt::Key_F5);
  file.addAction(borrowed.CompareWith);
  file.addAction(borrowed.CompareWithSaved);
  Add(file, "Mnu_File_Previous", "Previous Level", commands.Previous)->setShortcut(Qt::Key_F6);
  Add(file, "Mnu_File_Next", "Next Level", commands.Next)->setShortcut(Qt::Key_F7);
  recent_ = new RecentFilesMenu(&file);
  file.addMenu(recent_);
  QObject::connect(recent_, &RecentFilesMenu::OpenRequested, &file,
                   [open = commands.OpenRecent](const QString& path) { open(path.toStdString()); });
  file.addSeparator()->setObjectName("Mnu_File_Line1");
  // Ctrl+Q by name: the toolkit's standard Quit sequence is empty on Windows.
  Add(file, "Mnu_File_Quit", "&Quit", commands.Quit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainMenus::BuildView(QMenu& view, const Borrowed& borrowed, const Commands& commands) {
  borrowed.ItemsList->setObjectName("Mnu_View_Items");
  borrowed.ItemsList->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
  view.addAction(borrowed.ItemsList);
  borrowed.TriggersList->setObjectName("Mnu_View_Triggers");
  borrowed.TriggersList->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  view.addAction(borrowed.TriggersList);
  view.addAction(borrowed.Differences);
  view.addSeparator();
  commands.AddBrowser(view);
  view.addSeparator();
  Add(view, "Mnu_View_ZoomIn", "Zoom In", commands.ZoomIn)
      ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  Add(view, "Mnu_View_ZoomOut", "Zoom Out", commands.ZoomOut)->setShortcut(QKeySequence::ZoomOut);
  Add(view, "Mnu_View_ZoomFit", "Fit Map to Pane", commands.ZoomFit)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void MainMenus::ShowLevelState(bool loaded, const QString& refusal, bool recording) {
  for (QAction* action : {save_, saveAs_}) {
    action->setEnabled(loaded && refusal.isEmpty());
    action->setStatusTip(refusal);
  }
  demoRec_->setEnabled(loaded && !recording);
  demoStop_->setEnabled(recording);
}

void MainMenus::ShowHistory(const EditHistory& history, bool recording) {
  const Edit* undo = history.NextUndo();
  const Edit* redo = history.NextRedo();
  undo_->setText(undo ? QString::fromStdString("Undo " + undo->Caption) : QString("Undo"));
  redo_->setText(redo ? QString::fromStdString("Redo " + redo->Caption) : QString("Redo"));
  // While a demo records, the level's demo is the recorder's: nothing is undone under it.
  undo_->setEnabled(undo != nullptr && !recording);
  redo_->setEnabled(redo != nullptr && !recording);
}

}  // namespace slab
