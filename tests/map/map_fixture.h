// The map tests' level: built in memory room by room, or the sample level as the program
// opens it.
#pragma once

#include <gtest/gtest.h>

#include "floordata/floor_data_builder.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/item_panel.h"
#include "map/map_state.h"
#include "map/selection.h"
#include "platform/messages.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab::test {

struct DocumentHolder {
  Document doc;
};

class MapFixture : public testing::Test, protected DocumentHolder, protected LevelBuilder {
 protected:
  MapFixture() : LevelBuilder(doc.CurrentLevel) {
    doc.GameVersion = Game::TR3;
    doc.LevelLoaded = true;
  }

  Level& level() { return doc.CurrentLevel; }

  void OpenShowcase() {
    auto loaded = LoadBytes(ComposeClassic(ShowcaseDraft()).Bytes, "showcase.tr2");
    ASSERT_TRUE(loaded->Result.Loaded);
    doc.GameVersion = loaded->GameVersion;
    doc.CurrentLevel = std::move(loaded->Result.Lvl);
    ShowOpenedLevel(doc, state);
  }

  // The user's click on sector (a, b) of the current room, then on line `line` of its items.
  std::optional<ItemPanelView> Choose(int a, int b, int line = 0) {
    state.SelectedSectorX = a;
    state.SelectedSectorZ = b;
    DrawSelection(state);
    ShowSelectedSector(doc, state, names);
    return SelectEntity(doc, state, line);
  }

  // A pixel inside sector (a, b), 0-based, clear of its outline and its marker.
  static int PixelX(int b) { return 10 * b + 1; }
  static int PixelY(int a) { return 10 * a + 1; }

  MapState state;
  ObjectNames names;
  RecordingSink messages;
};

}  // namespace slab::test
