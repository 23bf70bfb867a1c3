#include "app/panel_parts.h"

#include <QPalette>
#include <QSignalBlocker>

namespace slab {

Rgb TextColour(const QWidget* widget) {
  const QColor c = widget->palette().color(widget->foregroundRole());
  return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
             static_cast<uint8_t>(c.blue())};
}

void SetTextColour(QWidget* widget, Rgb colour) {
  QPalette palette = widget->palette();
  const QColor c(colour.R, colour.G, colour.B);
  palette.setColor(QPalette::WindowText, c);
  palette.setColor(QPalette::ButtonText, c);
  palette.setColor(QPalette::Text, c);
  widget->setPalette(palette);
}

void ShowFlag(QCheckBox* box, Rgb colour) {
  SetTextColour(box, colour);
  const QSignalBlocker block(box);
  box->setChecked(colour == kSetColour);
}

void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

QHBoxLayout* FlagBoxes(std::array<QCheckBox*, 5>& boxes, const char* name, const QString& spoken,
                       QWidget* parent) {
  auto* row = new QHBoxLayout;
  for (size_t i = 0; i < boxes.size(); ++i) {
    boxes[i] = new QCheckBox(QString::number(i + 1), parent);
    boxes[i]->setObjectName(QString("%1_%2").arg(name).arg(i));
    boxes[i]->setAccessibleName(QString("%1 %2").arg(spoken).arg(i + 1));
    row->addWidget(boxes[i]);
  }
  return row;
}

}  // namespace slab
