// The Problems list and what the window does with the checks: they run when a level opens and
// after each edit or undo, the list shows their findings, the status bar their counts, and a
// save that would leave an error the level did not have when it was opened asks first.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "check/check.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/map_state.h"
#include "platform/messages.h"

class QAction;
class QMainWindow;

namespace slab {

class LevelListDock;

class LevelProblems : public QObject {
  Q_OBJECT
 public:
  // Adds the dock, closed, to the window's right side. The document, names and map state are
  // the window's and outlive this.
  LevelProblems(QMainWindow& window, const Document& doc, const ObjectNames& names,
                const MapState& map);

  LevelListDock* Dock() const { return dock_; }
  // View > Problems.
  QAction* ToggleAction() const;

  // Another level (or none) is open: its findings are the ones saves are held against.
  // Returns the counts for the status bar ("2 errors, 5 warnings"), empty without a level.
  std::string LevelOpened();
  // After an edit or its undo. Returns the counts when the errors or warnings changed.
  std::string LevelEdited();
  // Before a save: true to go on. Asks, with Cancel the default, when the level now has an
  // error it did not have when it was opened.
  bool ConfirmSave(MessageSink& messages) const;

 signals:
  void GoTo(int room, int a, int b, int entity);

 private:
  const Document& doc_;
  std::vector<Finding> opened_;
  // Shared with the dock's rows, which may be read while the window takes its docks down.
  std::shared_ptr<std::vector<Finding>> now_ = std::make_shared<std::vector<Finding>>();
  LevelListDock* dock_ = nullptr;
};

// The Problems list's dock, its rows read from the findings.
struct ListDockSpec;
ListDockSpec ProblemsListSpec(std::shared_ptr<const std::vector<Finding>> findings);

}  // namespace slab
