// The animation frames of a converted level: the fourth game turns single-axis rotations in
// 4096 steps, the older engines in 1024.
#include <algorithm>
#include <cmath>
#include <map>

#include "write/convert_tr4.h"

namespace slab {

namespace {

constexpr int kFrameHeaderWords = 9;  // bounding box and offset

}  // namespace

int16_t RescaleRotationWord(int16_t word) {
  const auto w = static_cast<uint16_t>(word);
  if ((w & 0xC000) == 0) return word;
  const auto value = static_cast<unsigned>(std::nearbyint((w & 0xFFF) / 4.0));
  return static_cast<int16_t>((w & 0xC000) | value);
}

void RescaleFrames(Level& level) {
  const size_t numAnimations = level.Animations.size();
  const size_t numWords = level.Frames.size();
  // A word is rescaled once, however many moveables or animations share its frame.
  std::vector<bool> done(numWords, false);

  // Each moveable owns the animations from its own index up to the next larger index any
  // moveable starts at; moveables that start at the same index share those animations.
  std::map<int, int16_t> meshesByStart;  // first animation -> mesh count of its first owner
  for (const Moveable& m : level.Moveables)
    if (m.Animation >= 0 && static_cast<size_t>(m.Animation) < numAnimations)
      meshesByStart.emplace(m.Animation, m.NumMeshes);

  for (auto it = meshesByStart.begin(); it != meshesByStart.end(); ++it) {
    const size_t first = static_cast<size_t>(it->first);
    const auto next = std::next(it);
    const size_t end =
        next == meshesByStart.end() ? numAnimations : static_cast<size_t>(next->first);
    const int meshes = std::max<int16_t>(it->second, 0);
    for (size_t a = first; a < end; ++a) {
      const Animation& anim = level.Animations[a];
      const size_t frameSize = anim.FrameSize;
      if (frameSize == 0 || anim.FrameOffset < 0) continue;
      const size_t start = static_cast<size_t>(anim.FrameOffset) / 2;
      // The last animation's frames run to the end of the frame list.
      size_t stop = numWords;
      if (a + 1 < numAnimations)
        stop = std::max<int32_t>(level.Animations[a + 1].FrameOffset, 0) / 2;
      stop = std::min(stop, numWords);
      if (stop <= start) continue;
      const size_t frames = (stop - start) / frameSize;  // a partial frame is left alone
      for (size_t f = 0; f < frames; ++f) {
        const size_t frameEnd = start + (f + 1) * frameSize;
        size_t pos = start + f * frameSize + kFrameHeaderWords;
        for (int mesh = 0; mesh < meshes && pos < frameEnd; ++mesh) {
          const auto word = static_cast<uint16_t>(level.Frames[pos]);
          if ((word & 0xC000) == 0) {
            pos += 2;  // three axes in two words, kept
            continue;
          }
          if (!done[pos]) level.Frames[pos] = RescaleRotationWord(level.Frames[pos]);
          done[pos] = true;
          pos += 1;
        }
      }
    }
  }
}

}  // namespace slab
