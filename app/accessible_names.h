// Screen readers and automation find every control by its name.
#pragma once

#include <QWidget>

namespace slab {

// Gives root and each named widget under it its object name as accessible name, where it has
// none yet; run once a window's controls exist.
inline void GiveAccessibleNames(QWidget* root) {
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* widget : widgets)
    if (!widget->objectName().isEmpty() && widget->accessibleName().isEmpty())
      widget->setAccessibleName(widget->objectName());
}

}  // namespace slab
