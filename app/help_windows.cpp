#include "app/help_windows.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

#include "map/draw_room.h"

namespace slab {
namespace {

QColor ToColour(Rgb c) { return QColor(c.R, c.G, c.B); }

// A label of wrapped text, named for the tests, at the end of the layout.
QLabel* AddText(QBoxLayout* layout, const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  layout->addWidget(label);
  return label;
}

void AddCloseButton(QBoxLayout* layout, QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace

QImage AboutPicture() {
  // An 8 x 8 room with a wall ring, a trigger, a portal, a minecart bend and an item marker.
  constexpr int kCells = 8, kCell = 12;
  QImage image(kCells * kCell + 1, kCells * kCell + 1, QImage::Format_RGB888);
  image.fill(Qt::black);
  for (int a = 0; a < kCells; ++a) {
    for (int b = 0; b < kCells; ++b) {
      Rgb colour = map_colour::kFloor;
      const bool ring = a == 0 || b == 0 || a == kCells - 1 || b == kCells - 1;
      if (ring) colour = map_colour::kOuterWall;
      if (a == 0 && b == 4) colour = map_colour::kPortal;
      if (a == 2 && b == 2) colour = map_colour::kTrigger;
      if (a == 5 && (b == 2 || b == 3)) colour = map_colour::kFunction20;
      if (a == 5 && b == 4) colour = map_colour::kMinecartStop;
      if (a == 3 && b == 5) colour = map_colour::kWall;
      if (a == 2 && b == 5) colour = map_colour::kKill;
      const QColor fill = ToColour(colour);
      for (int y = a * kCell + 1; y < (a + 1) * kCell; ++y)
        for (int x = b * kCell + 1; x < (b + 1) * kCell; ++x) image.setPixelColor(x, y, fill);
    }
  }
  const QColor marker = ToColour(map_colour::kItemMarker);
  for (int y = 4 * kCell + 4; y < 4 * kCell + 9; ++y)
    for (int x = 4 * kCell + 4; x < 4 * kCell + 9; ++x) image.setPixelColor(x, y, marker);
  return image;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("About_Frm");
  setWindowTitle(QString("About ") + kProgramName);
  auto* layout = new QHBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setObjectName("AboutPicture");
  picture->setAccessibleName("Picture of a room map");
  picture->setPixmap(QPixmap::fromImage(
      AboutPicture().scaled(194, 194, Qt::KeepAspectRatio, Qt::FastTransformation)));
  picture->setAlignment(Qt::AlignTop);
  layout->addWidget(picture);
  auto* text = new QVBoxLayout;
  auto* name = new QLabel(kProgramName, this);
  name->setObjectName("ProgramName");
  QFont font = name->font();
  font.setPointSizeF(font.pointSizeF() * 1.6);
  font.setBold(true);
  name->setFont(font);
  text->addWidget(name);
  AddText(text,
          "A map viewer and editor for the level files of the Tomb Raider games 1 to 5. It shows "
          "every room as a grid of sectors and tells what the game knows about each one: its "
          "portals, the rooms above and below, its heights, its trigger with every action, and "
          "the items and static meshes standing on it. It follows triggers to their objects and "
          "back, edits items, turns sectors into walls, lays minecart tracks, records demos, "
          "saves levels, converts fourth-game levels for the older engines and shows rooms in 3D.",
          "AboutText", this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  text->addStretch();
  text->addWidget(buttons);
  layout->addLayout(text, 1);
  resize(560, 240);
}

MineCartHelpWindow::MineCartHelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("MineCartHelp_Frm");
  setWindowTitle(kMineCartHelpCaption);
  auto* layout = new QVBoxLayout(this);
  AddText(layout, kMineCartNote, "MineCartNote", this);
  auto* heading = new QLabel(kMineCartHeading, this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  AddText(layout, kMineCartSteps, "MineCartSteps", this);
  AddCloseButton(layout, this);
  resize(480, 260);
}

KeysHelpWindow::KeysHelpWindow(const std::vector<KeyLine>& lines, QWidget* parent)
    : QDialog(parent) {
  setObjectName("KeysHelp_Frm");
  setWindowTitle(kKeysHelpCaption);
  auto* layout = new QVBoxLayout(this);
  QString table = "<table cellspacing=3>";
  QString group;
  for (const KeyLine& line : lines) {
    if (line.Group != group) {
      group = line.Group;
      table += "<tr><td colspan=2><br><i>" + group.toHtmlEscaped() + "</i></td></tr>";
    }
    table += "<tr><td><b>" + line.Keys.toHtmlEscaped() + "</b>&nbsp;&nbsp;</td><td>" +
             line.What.toHtmlEscaped() + "</td></tr>";
  }
  table += "</table>";
  // The list scrolls where the screen is shorter than it.
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* keys = new QLabel(table, scroll);
  keys->setObjectName("KeysText");
  keys->setTextFormat(Qt::RichText);
  keys->setWordWrap(true);
  keys->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  keys->setContentsMargins(6, 0, 6, 6);
  scroll->setWidget(keys);
  layout->addWidget(scroll, 1);
  AddCloseButton(layout, this);
  resize(600, 640);
}

namespace {

template <typename Make>
void ShowHelpWindow(QPointer<QDialog>& window, Make make) {
  if (!window) {
    window = make();
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->show();
  window->raise();
}

}  // namespace

void HelpWindows::ShowMineCart() {
  ShowHelpWindow(mineCartHelp_, [this] { return new MineCartHelpWindow(&owner_); });
}

void HelpWindows::ShowAbout() {
  ShowHelpWindow(about_, [this] { return new AboutWindow(&owner_); });
}

void HelpWindows::ShowKeys(const std::vector<KeyLine>& lines) {
  ShowHelpWindow(keysHelp_, [this, &lines] { return new KeysHelpWindow(lines, &owner_); });
}

void HelpWindows::CloseAll() {
  for (QDialog* window : {about_.data(), mineCartHelp_.data(), keysHelp_.data()})
    if (window != nullptr) window->close();
}

}  // namespace slab
