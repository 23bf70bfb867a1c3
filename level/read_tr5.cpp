#include "level/load_level.h"

namespace slab {

void ReadTR5Level(ByteCursor& cursor, Level& level, MessageSink& messages) {
  (void)cursor;
  (void)level;
  (void)messages;
  throw LevelRefused{"not yet supported"};
}

}  // namespace slab
