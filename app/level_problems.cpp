#include "app/level_problems.h"

#include <QAction>
#include <QMainWindow>

#include "app/level_lists.h"
#include "map/problem_rows.h"

namespace slab {

ListDockSpec ProblemsListSpec(std::shared_ptr<const std::vector<Finding>> findings) {
  return {.Title = "Problems",
          .BaseName = "ProblemsList",
          .FilterName = "ProblemsFilter",
          .Columns = ProblemColumnTitles(),
          // The rows stand errors first: sorting by severity keeps that order.
          .RowOrderColumn = static_cast<int>(ProblemColumn::Severity),
          .TypeName = "ProblemsSeverity",
          .AnyType = "All severities",
          .Build = [findings](const Document& doc, const ObjectNames&, const TriggerIndex&) {
            return ProblemListRows(doc.CurrentLevel,
                                   doc.LevelLoaded ? *findings : std::span<const Finding>());
          }};
}

LevelProblems::LevelProblems(QMainWindow& window, const Document& doc, const ObjectNames& names,
                             const MapState& map)
    : QObject(&window), doc_(doc) {
  dock_ = new LevelListDock(ProblemsListSpec(now_), doc, names, map.Triggers, &window);
  window.addDockWidget(Qt::RightDockWidgetArea, dock_);
  dock_->hide();
  QAction* action = dock_->toggleViewAction();
  action->setObjectName("Mnu_View_Problems");
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  connect(action, &QAction::triggered, dock_, [this](bool shown) {
    if (shown) dock_->raise();
  });
  connect(dock_, &LevelListDock::GoTo, this, &LevelProblems::GoTo);
}

QAction* LevelProblems::ToggleAction() const { return dock_->toggleViewAction(); }

std::string LevelProblems::LevelOpened() {
  *now_ =
      doc_.LevelLoaded ? CheckLevel(doc_.CurrentLevel, doc_.GameVersion) : std::vector<Finding>{};
  opened_ = *now_;
  dock_->LevelChanged(true);
  return doc_.LevelLoaded ? CountsText(CountSeverities(*now_)) : std::string();
}

std::string LevelProblems::LevelEdited() {
  const SeverityCounts before = CountSeverities(*now_);
  *now_ = CheckLevel(doc_.CurrentLevel, doc_.GameVersion);
  dock_->LevelChanged(false);
  const SeverityCounts after = CountSeverities(*now_);
  const bool changed = after.Errors != before.Errors || after.Warnings != before.Warnings;
  return changed ? CountsText(after) : std::string();
}

bool LevelProblems::ConfirmSave(MessageSink& messages) const {
  const std::vector<Finding> added = NewErrors(opened_, *now_);
  if (added.empty()) return true;
  return messages.Confirm(NewErrorsQuestion(added), {}, "Save") == Answer::Yes;
}

}  // namespace slab
