// Pieces the panels share: named controls, the set/clear text colours, the five flag boxes.
#pragma once

#include <QCheckBox>
#include <QHBoxLayout>
#include <QString>
#include <QWidget>
#include <array>
#include <string>

#include "floordata/sector_panel.h"

namespace slab {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename T>
T* Named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

// A control's text colour, as the panels show set and clear states.
Rgb TextColour(const QWidget* widget);
void SetTextColour(QWidget* widget, Rgb colour);

// A check box shows its bit by a tick and, as it always did, by its text colour.
void ShowFlag(QCheckBox* box, Rgb colour);

// Hidden panel controls keep their place, so the panels do not jump as sectors are shown.
void KeepPlaceWhenHidden(QWidget* widget);

// The five mask bits of a trigger or an item: boxes "1" to "5" in a row, named name_0 to name_4
// and heard as "<spoken> 1" to "<spoken> 5" (a bare digit says nothing of what it sets).
QHBoxLayout* FlagBoxes(std::array<QCheckBox*, 5>& boxes, const char* name, const QString& spoken,
                       QWidget* parent);

}  // namespace slab
