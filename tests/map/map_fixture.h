// The map tests' level: built in memory room by room, or the sample level as the program
// opens it.
#pragma once

#include <gtest/gtest.h>

#include "floordata/floor_data_builder.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "level/load_level.h"
#include "map/map_state.h"
#include "map/selection.h"
#include "platform/messages.h"
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
    const std::vector<uint8_t> bytes = ComposeClassic(ShowcaseDraft()).Bytes;
    RecordingSink sink;
    LoadResult loaded = LoadLevelFromBytes(bytes, "showcase.tr2", sink);
    doc.GameVersion = loaded.DetectedGame.value_or(doc.GameVersion);
    ASSERT_TRUE(loaded.Loaded);
    doc.CurrentLevel = std::move(loaded.Lvl);
    ShowOpenedLevel(doc, state);
  }

  // A pixel inside sector (a, b), 0-based, clear of its outline and its marker.
  static int PixelX(int b) { return 10 * b + 1; }
  static int PixelY(int a) { return 10 * a + 1; }

  MapState state;
  ObjectNames names;
  RecordingSink messages;
};

}  // namespace slab::test
