// Checks of the models, their animations and the sound tables.
#include <algorithm>

#include "check/check_context.h"

namespace slab::checks {
namespace {

// Words each animation command takes after its code: 1 moves the model (x, y, z), 2 jumps
// (two speeds), 5 plays a sound and 6 runs an effect at a frame (frame, what); 3 and 4 none.
int CommandArguments(int command) {
  switch (command) {
    case 1:
      return 3;
    case 2:
    case 5:
    case 6:
      return 2;
    default:
      return 0;
  }
}

bool Inside(int64_t first, int64_t count, size_t size) {
  return first >= 0 && count >= 0 && first + count <= static_cast<int64_t>(size);
}

}  // namespace

// A model's meshes, mesh tree and frames, and an animation's frames, next animation, state
// changes, dispatches and commands are all offsets the games follow without a check.
void CheckModels(Context& c) {
  const Level& l = c.L;
  const bool animations = c.Kept(l.Animations);
  const size_t frames = l.Frames.size();
  for (size_t m = 0; m < l.Moveables.size(); ++m) {
    const Moveable& model = l.Moveables[m];
    const Place at{.What = Record::Model, .Index = static_cast<int>(m)};
    const std::string name =
        "Model " + std::to_string(m) + " (type " + std::to_string(model.ObjectID) + ")";
    if (!Inside(model.StartingMesh, model.NumMeshes, l.MeshPointers.size()))
      c.Add("model-mesh", at,
            name + " takes " + std::to_string(model.NumMeshes) + " meshes from mesh " +
                std::to_string(model.StartingMesh) +
                LevelHas(l.MeshPointers.size(), "mesh", "meshes"));
    // Every mesh after the first hangs on four words of the tree: flags and an offset.
    if (model.NumMeshes > 1 &&
        !Inside(model.MeshTree, 4 * int64_t{model.NumMeshes - 1}, l.MeshTrees.size()))
      c.Add("model-tree", at,
            name + " has " + std::to_string(model.NumMeshes) + " meshes and its tree starts at " +
                std::to_string(model.MeshTree) + "; the mesh trees have " +
                Count(l.MeshTrees.size(), "word", "words"));
    if (model.FrameOffset < 0 || static_cast<size_t>(model.FrameOffset / 2) > frames)
      c.Add("model-frames", at,
            name + "'s frames start at byte " + std::to_string(model.FrameOffset) +
                "; the frames have " + Count(2 * frames, "byte", "bytes"));
    if (animations && model.Animation != -1 &&
        (model.Animation < 0 || static_cast<size_t>(model.Animation) >= l.Animations.size()))
      c.Add("model-animation", at,
            name + " starts with animation " + std::to_string(model.Animation) +
                LevelHas(l.Animations.size(), "animation", "animations"));
  }
  if (!animations) return;
  const size_t count = l.Animations.size();
  for (size_t a = 0; a < count; ++a) {
    const Animation& anim = l.Animations[a];
    const Place at{.What = Record::Animation, .Index = static_cast<int>(a)};
    const std::string name = "Animation " + std::to_string(a);
    if (anim.FrameOffset < 0 || static_cast<size_t>(anim.FrameOffset / 2) > frames)
      c.Add("anim-frames", at,
            name + "'s frames start at byte " + std::to_string(anim.FrameOffset) +
                "; the frames have " + Count(2 * frames, "byte", "bytes"));
    if (anim.NextAnimation < 0 || static_cast<size_t>(anim.NextAnimation) >= count) {
      c.Add("anim-next", at,
            name + " leads to animation " + std::to_string(anim.NextAnimation) +
                LevelHas(count, "animation", "animations"));
    } else {
      const Animation& next = l.Animations[static_cast<size_t>(anim.NextAnimation)];
      if (anim.NextFrame < next.FrameStart || anim.NextFrame > next.FrameEnd)
        c.Add("anim-next-frame", at,
              name + " leads to frame " + std::to_string(anim.NextFrame) + " of animation " +
                  std::to_string(anim.NextAnimation) + ", which runs from frame " +
                  std::to_string(next.FrameStart) + " to " + std::to_string(next.FrameEnd));
    }
    if (anim.FrameSize == 0) c.Add("anim-frame-size", at, name + " has a frame size of 0");
    if (!Inside(anim.StateChangeOffset, anim.NumStateChanges, l.StateChanges.size())) {
      c.Add("anim-states", at,
            name + " takes " + std::to_string(anim.NumStateChanges) + " state changes from " +
                std::to_string(anim.StateChangeOffset) +
                LevelHas(l.StateChanges.size(), "state change", "state changes"));
    } else {
      bool reported = false;
      for (int s = 0; s < anim.NumStateChanges && !reported; ++s) {
        const size_t si = static_cast<size_t>(anim.StateChangeOffset + s);
        const StateChange& change = l.StateChanges[si];
        if (!Inside(change.AnimDispatch, change.NumAnimDispatches, l.AnimDispatches.size())) {
          c.Add("anim-states", {.What = Record::StateChange, .Index = static_cast<int>(si)},
                "State change " + std::to_string(si) + " takes " +
                    std::to_string(change.NumAnimDispatches) + " dispatches from " +
                    std::to_string(change.AnimDispatch) +
                    LevelHas(l.AnimDispatches.size(), "dispatch", "dispatches"));
          reported = true;
          break;
        }
        for (int d = 0; d < change.NumAnimDispatches; ++d) {
          const AnimDispatch& dispatch =
              l.AnimDispatches[static_cast<size_t>(change.AnimDispatch + d)];
          if (dispatch.NextAnimation >= 0 && static_cast<size_t>(dispatch.NextAnimation) < count)
            continue;
          c.Add("anim-dispatch", {.What = Record::StateChange, .Index = static_cast<int>(si)},
                "State change " + std::to_string(si) + " dispatches to animation " +
                    std::to_string(dispatch.NextAnimation) +
                    LevelHas(count, "animation", "animations"));
          reported = true;
          break;
        }
      }
    }
    int64_t pos = anim.AnimCommand;
    for (int k = 0; k < anim.NumAnimCommands; ++k) {
      if (pos < 0 || static_cast<size_t>(pos) >= l.AnimCommands.size()) {
        pos = -1;
        break;
      }
      pos += 1 + CommandArguments(l.AnimCommands[static_cast<size_t>(pos)]);
    }
    if (pos < 0 || static_cast<size_t>(pos) > l.AnimCommands.size())
      c.Add("anim-commands", at,
            name + "'s " + std::to_string(anim.NumAnimCommands) + " commands from word " +
                std::to_string(anim.AnimCommand) + " run past the commands' " +
                Count(l.AnimCommands.size(), "word", "words"));
  }
}

// A sound effect is found through the sound map, a sound detail and its run of samples, each
// taken as it stands; a sound source names a sound-map entry.
void CheckSound(Context& c) {
  const Level& l = c.L;
  if (!c.Kept(l.SoundDetails)) return;
  const size_t details = l.SoundDetails.size();
  // A first-game file holds 256 entries; the model's others are not the level's.
  const size_t entries = c.G == Game::TR1 ? std::min<size_t>(l.SoundMap.size(), kTr1SoundMapEntries)
                                          : l.SoundMap.size();
  for (size_t e = 0; e < entries; ++e) {
    const int entry = l.SoundMap[e];
    if (entry == -1 || (entry >= 0 && static_cast<size_t>(entry) < details)) continue;
    c.Add("sound-map", {.What = Record::SoundMap, .Index = static_cast<int>(e)},
          "Sound-map entry " + std::to_string(e) + " names sound detail " + std::to_string(entry) +
              LevelHas(details, "sound detail", "sound details"));
  }
  // The fourth game on carries its samples in the level; the earlier games index a file of
  // samples through the sample indices.
  const size_t samples = l.SampleIndices.empty() ? l.Samples.size() : l.SampleIndices.size();
  for (size_t d = 0; d < details; ++d) {
    const auto& b = l.SoundDetails[d].Bytes;
    const int first = b[0] | b[1] << 8;
    const int characteristics = b[6] | b[7] << 8;
    const int number = (characteristics >> 2) & 0x0F;
    if (first + number > static_cast<int64_t>(samples))
      c.Add("sound-samples", {.What = Record::SoundDetail, .Index = static_cast<int>(d)},
            "Sound detail " + std::to_string(d) + " plays " + std::to_string(number) +
                " samples from sample " + std::to_string(first) +
                LevelHas(samples, "sample", "samples"));
  }
  for (size_t s = 0; s < l.SoundSources.size(); ++s) {
    const int sound = l.SoundSources[s].SoundID;
    const Place at{.What = Record::SoundSource, .Index = static_cast<int>(s)};
    if (static_cast<size_t>(sound) >= entries)
      c.Add("sound-source", at,
            "Sound source " + std::to_string(s) + " plays sound " + std::to_string(sound) +
                "; the sound map has " + Count(entries, "entry", "entries"));
    else if (l.SoundMap[static_cast<size_t>(sound)] == -1)
      c.Add("sound-source-none", at,
            "Sound source " + std::to_string(s) + " plays sound " + std::to_string(sound) +
                ", which the sound map leaves empty");
  }
}

}  // namespace slab::checks
