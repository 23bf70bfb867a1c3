// The checks' level: the showcase as the third game (whose floor data knows its monkey-swing and
// minecart entries), with the portals between the rooms laid in one plane, so that it gives no
// finding at all and each test adds exactly one fault.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "check/check.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab::test {

inline DraftLevel CheckDraft(Game game = Game::TR3) {
  DraftLevel d = ShowcaseDraft();
  d.GameVersion = game;
  // The showcase puts the corridor's portals one sector inside from its neighbours' and lower;
  // the games have both sides of a portal through the same corners.
  for (size_t r : {size_t{1}, size_t{3}}) {
    DraftRoom& room = d.Rooms[r];
    for (Portal& portal : room.Portals) {
      if (portal.Normal[0] != 1) continue;
      const DraftRoom& other = d.Rooms[portal.AdjoiningRoom];
      for (const Portal& back : other.Portals) {
        if (back.AdjoiningRoom != r) continue;
        for (size_t k = 0; k < 4; ++k) {
          portal.Vertices[3 * k] =
              static_cast<int16_t>(back.Vertices[3 * k] + other.Info.X - room.Info.X);
          portal.Vertices[3 * k + 1] = back.Vertices[3 * k + 1];
          portal.Vertices[3 * k + 2] =
              static_cast<int16_t>(back.Vertices[3 * k + 2] + other.Info.Z - room.Info.Z);
        }
      }
    }
  }
  return d;
}

inline std::vector<Finding> FindingsOf(const std::vector<uint8_t>& bytes, const std::string& name) {
  auto loaded = LoadBytes(bytes, name);
  EXPECT_TRUE(loaded->Result.Loaded) << loaded->FirstMessage();
  return CheckLevel(loaded->Result.Lvl, loaded->GameVersion);
}

inline std::vector<Finding> FindingsOf(const DraftLevel& d) {
  return FindingsOf(ComposeClassic(d).Bytes,
                    d.GameVersion == Game::TR1 ? "check.phd" : "check.tr2");
}

// The findings of `faulty` that `clean` does not have, by check, as many more as there are.
inline std::vector<Finding> Added(const std::vector<Finding>& clean,
                                  const std::vector<Finding>& faulty) {
  std::map<std::string, int> had;
  for (const Finding& f : clean) ++had[std::string(f.Check) + "|" + f.Message];
  std::vector<Finding> added;
  for (const Finding& f : faulty)
    if (had[std::string(f.Check) + "|" + f.Message]-- <= 0) added.push_back(f);
  return added;
}

inline std::string Listed(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings)
    text += std::string(SeverityName(f.Level)) + " [" + std::string(f.Check) + "] " +
            PlaceText(f.Where) + ": " + f.Message + "\n";
  return text;
}

}  // namespace slab::test
