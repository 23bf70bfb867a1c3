// The checks' level: the showcase, a third-game level that gives no finding at all (and so does
// its second-game form), so that each test adds exactly one fault.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "check/check.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab::test {

// The showcase, or its second-game form (the two games the checks' cases use).
inline DraftLevel CheckDraft(Game game = Game::TR3) {
  EXPECT_TRUE(game == Game::TR2 || game == Game::TR3) << "no showcase of that game";
  return game == Game::TR2 ? SecondGameShowcaseDraft() : ShowcaseDraft();
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
