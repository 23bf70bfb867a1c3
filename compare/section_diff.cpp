// The sections of a level outside its rooms and items: per section equal or not, with the
// counts of both levels and, for a list, which entries differ (texture pages by number).
#include <algorithm>
#include <cstring>
#include <functional>
#include <span>
#include <type_traits>

#include "compare/diff_context.h"

namespace slab::diff {
namespace {

// Records laid out without padding compare byte for byte.
template <typename T>
bool SameRecord(const T& a, const T& b) {
  static_assert(std::has_unique_object_representations_v<T>, "compare this record field by field");
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameRecord(const ObjectTexture& a, const ObjectTexture& b) {
  return a.Attribute == b.Attribute && a.Tile == b.Tile && a.NewFlags == b.NewFlags &&
         std::memcmp(a.Corners.data(), b.Corners.data(), sizeof a.Corners) == 0 &&
         a.UVOrigin == b.UVOrigin && a.Width == b.Width && a.Height == b.Height &&
         a.Tr5Padding == b.Tr5Padding;
}

bool SameRecord(const SampleChunk& a, const SampleChunk& b) {
  return a.UncompressedSize == b.UncompressedSize && a.CompressedSize == b.CompressedSize &&
         a.Data == b.Data;
}

void Differs(SectionDiff& section, int64_t entry) {
  section.Equal = false;
  if (section.Differing.size() < kMaxListedEntries) section.Differing.push_back(entry);
  ++section.DifferingCount;
}

template <typename List>
SectionDiff ListSection(std::string name, const List& a, const List& b) {
  SectionDiff section{std::move(name),
                      static_cast<int64_t>(a.size()),
                      static_cast<int64_t>(b.size()),
                      a.size() == b.size(),
                      {},
                      0};
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (!SameRecord(a[i], b[i])) Differs(section, static_cast<int64_t>(i));
  return section;
}

// Page `page` of one pixel form: it differs when its pixels differ or only one level has it.
template <typename Pixels>
bool PageDiffers(const Pixels& a, const Pixels& b, int64_t page) {
  const size_t first = static_cast<size_t>(page) * kPagePixels;
  const bool inA = first + kPagePixels <= a.size(), inB = first + kPagePixels <= b.size();
  if (inA != inB) return true;
  return inA && std::memcmp(a.data() + first, b.data() + first,
                            kPagePixels * sizeof(typename Pixels::value_type)) != 0;
}

// Pages by number; a page differs when any of its forms (8-, 16- or 32-bit) differs.
SectionDiff TexturePages(const Level& a, const Level& b) {
  SectionDiff section{
      "texture pages", a.NumTextiles, b.NumTextiles, a.NumTextiles == b.NumTextiles, {}, 0};
  for (int64_t page = 0; page < std::min(a.NumTextiles, b.NumTextiles); ++page)
    if (PageDiffers(a.Textile8, b.Textile8, page) || PageDiffers(a.Textile16, b.Textile16, page) ||
        PageDiffers(a.Textile32, b.Textile32, page))
      Differs(section, page);
  return section;
}

SectionDiff FurtherPages(const Level& a, const Level& b) {
  SectionDiff section{"further pages",
                      a.NumMiscTextiles,
                      b.NumMiscTextiles,
                      a.NumMiscTextiles == b.NumMiscTextiles,
                      {},
                      0};
  for (int64_t page = 0; page < std::min(a.NumMiscTextiles, b.NumMiscTextiles); ++page)
    if (PageDiffers(a.MiscTextile32, b.MiscTextile32, page)) Differs(section, page);
  return section;
}

// Each mesh reaches from its pointer to the next mesh's start (or the end of the mesh data).
std::span<const uint8_t> MeshBytes(const Level& level, const std::vector<int32_t>& starts,
                                   int32_t pointer) {
  if (pointer < 0 || static_cast<size_t>(pointer) > level.MeshData.size()) return {};
  const auto next = std::upper_bound(starts.begin(), starts.end(), pointer);
  const size_t end =
      next == starts.end() ? level.MeshData.size() : std::min<size_t>(*next, level.MeshData.size());
  return {level.MeshData.data() + pointer, end - static_cast<size_t>(pointer)};
}

std::vector<int32_t> MeshStarts(const Level& level) {
  std::vector<int32_t> starts = level.MeshPointers;
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

SectionDiff Meshes(const Level& a, const Level& b) {
  SectionDiff section{"meshes",
                      static_cast<int64_t>(a.MeshPointers.size()),
                      static_cast<int64_t>(b.MeshPointers.size()),
                      a.MeshPointers.size() == b.MeshPointers.size(),
                      {},
                      0};
  const std::vector<int32_t> startsA = MeshStarts(a), startsB = MeshStarts(b);
  for (size_t k = 0; k < std::min(a.MeshPointers.size(), b.MeshPointers.size()); ++k) {
    const auto x = MeshBytes(a, startsA, a.MeshPointers[k]);
    const auto y = MeshBytes(b, startsB, b.MeshPointers[k]);
    if (x.size() != y.size() || !std::equal(x.begin(), x.end(), y.begin()))
      Differs(section, static_cast<int64_t>(k));
  }
  // Words no pointer reaches still belong to the section.
  if (section.Equal && a.MeshData.size() != b.MeshData.size()) section.Equal = false;
  return section;
}

// A section of one value or one block, equal or not.
SectionDiff Whole(std::string name, int64_t countA, int64_t countB, bool same) {
  return {std::move(name), countA, countB, same && countA == countB, {}, 0};
}

template <typename List>
SectionDiff WholeList(std::string name, const List& a, const List& b) {
  return Whole(std::move(name), static_cast<int64_t>(a.size()), static_cast<int64_t>(b.size()),
               a == b);
}

struct Byte3 {
  uint8_t Bytes[3];
};
struct Byte4 {
  uint8_t Bytes[4];
};

template <typename Entry, size_t N>
std::vector<Entry> Entries(const std::array<uint8_t, N>& bytes) {
  std::vector<Entry> entries(N / sizeof(Entry));
  std::memcpy(entries.data(), bytes.data(), N);
  return entries;
}

using SectionMaker = std::function<SectionDiff(const Level&, const Level&)>;

// Every section in file order, named as the report names it.
const std::vector<std::pair<const char*, SectionMaker>>& AllSections() {
  static const std::vector<std::pair<const char*, SectionMaker>> sections = {
      {"version word",
       [](const Level& a, const Level& b) {
         SectionDiff s = Whole("version word", 1, 1, a.Version == b.Version);
         if (!s.Equal) s.Differing.push_back(0), s.DifferingCount = 1;
         return s;
       }},
      {"page counts",
       [](const Level& a, const Level& b) {
         return Whole("page counts", 3, 3,
                      a.NumRoomTextiles == b.NumRoomTextiles &&
                          a.NumObjTextiles == b.NumObjTextiles &&
                          a.NumBumpTextiles == b.NumBumpTextiles);
       }},
      {"palette",
       [](const Level& a, const Level& b) {
         return ListSection("palette", Entries<Byte3>(a.Palette), Entries<Byte3>(b.Palette));
       }},
      {"16-bit palette",
       [](const Level& a, const Level& b) {
         return ListSection("16-bit palette", Entries<Byte4>(a.Palette16),
                            Entries<Byte4>(b.Palette16));
       }},
      {"texture pages", TexturePages},
      {"further pages", FurtherPages},
      {"header words",
       [](const Level& a, const Level& b) {
         return Whole("header words", 4, 4,
                      a.Reserved32 == b.Reserved32 && a.Tr5HeaderA == b.Tr5HeaderA &&
                          a.Tr5HeaderB == b.Tr5HeaderB && a.Tr5HeaderWord == b.Tr5HeaderWord);
       }},
      {"meshes", Meshes},
      {"animations",
       [](const Level& a, const Level& b) {
         return ListSection("animations", a.Animations, b.Animations);
       }},
      {"state changes",
       [](const Level& a, const Level& b) {
         return ListSection("state changes", a.StateChanges, b.StateChanges);
       }},
      {"animation dispatches",
       [](const Level& a, const Level& b) {
         return ListSection("animation dispatches", a.AnimDispatches, b.AnimDispatches);
       }},
      {"animation commands",
       [](const Level& a, const Level& b) {
         return ListSection("animation commands", a.AnimCommands, b.AnimCommands);
       }},
      {"mesh trees",
       [](const Level& a, const Level& b) {
         return ListSection("mesh trees", a.MeshTrees, b.MeshTrees);
       }},
      {"frames",
       [](const Level& a, const Level& b) { return ListSection("frames", a.Frames, b.Frames); }},
      {"moveables",
       [](const Level& a, const Level& b) {
         return ListSection("moveables", a.Moveables, b.Moveables);
       }},
      {"statics table",
       [](const Level& a, const Level& b) {
         return ListSection("statics table", a.StaticMeshDefs, b.StaticMeshDefs);
       }},
      {"object textures",
       [](const Level& a, const Level& b) {
         return ListSection("object textures", a.ObjectTextures, b.ObjectTextures);
       }},
      {"sprite textures",
       [](const Level& a, const Level& b) {
         return ListSection("sprite textures", a.SpriteTextures, b.SpriteTextures);
       }},
      {"sprite sequences",
       [](const Level& a, const Level& b) {
         return ListSection("sprite sequences", a.SpriteSequences, b.SpriteSequences);
       }},
      {"cameras",
       [](const Level& a, const Level& b) { return ListSection("cameras", a.Cameras, b.Cameras); }},
      {"fly-by cameras",
       [](const Level& a, const Level& b) {
         return ListSection("fly-by cameras", a.FlybyCameras, b.FlybyCameras);
       }},
      {"sound sources",
       [](const Level& a, const Level& b) {
         return ListSection("sound sources", a.SoundSources, b.SoundSources);
       }},
      {"boxes",
       [](const Level& a, const Level& b) {
         SectionDiff s = ListSection("boxes", a.Boxes, b.Boxes);
         // First-game boxes keep their units beside: a change there is a change of the box.
         const SectionDiff units = ListSection("", a.Tr1BoxBounds, b.Tr1BoxBounds);
         for (int64_t entry : units.Differing)
           if (std::find(s.Differing.begin(), s.Differing.end(), entry) == s.Differing.end())
             Differs(s, entry);
         std::sort(s.Differing.begin(), s.Differing.end());
         s.Equal = s.Equal && units.Equal;
         return s;
       }},
      {"overlaps", [](const Level& a,
                      const Level& b) { return ListSection("overlaps", a.Overlaps, b.Overlaps); }},
      {"zones",
       [](const Level& a, const Level& b) { return ListSection("zones", a.Zones, b.Zones); }},
      {"animated textures",
       [](const Level& a, const Level& b) {
         SectionDiff s = ListSection("animated textures", a.AnimatedTextures, b.AnimatedTextures);
         s.Equal = s.Equal && a.AnimatedTexturesUVCount == b.AnimatedTexturesUVCount;
         return s;
       }},
      {"light map",
       [](const Level& a, const Level& b) {
         return Whole("light map", static_cast<int64_t>(a.LightMap.size()),
                      static_cast<int64_t>(b.LightMap.size()), a.LightMap == b.LightMap);
       }},
      {"cinematic frames",
       [](const Level& a, const Level& b) {
         return ListSection("cinematic frames", a.CinematicFrames, b.CinematicFrames);
       }},
      {"demo",
       [](const Level& a, const Level& b) {
         return Whole("demo", a.NumDemoData, b.NumDemoData, a.DemoData == b.DemoData);
       }},
      {"sound map",
       [](const Level& a, const Level& b) {
         return ListSection("sound map", a.SoundMap, b.SoundMap);
       }},
      {"sound details",
       [](const Level& a, const Level& b) {
         return ListSection("sound details", a.SoundDetails, b.SoundDetails);
       }},
      {"sample data",
       [](const Level& a, const Level& b) {
         return WholeList("sample data", a.Tr1SampleData, b.Tr1SampleData);
       }},
      {"sample indices",
       [](const Level& a, const Level& b) {
         return ListSection("sample indices", a.SampleIndices, b.SampleIndices);
       }},
      {"samples",
       [](const Level& a, const Level& b) { return ListSection("samples", a.Samples, b.Samples); }},
      {"add-on block",
       [](const Level& a, const Level& b) {
         return WholeList("add-on block", a.TrailingBlock, b.TrailingBlock);
       }},
  };
  return sections;
}

}  // namespace

void CompareSections(const Context& context, std::vector<SectionDiff>& out,
                     std::vector<std::string>& notes) {
  if (!context.SameFloorData)
    notes.push_back("the floor data is laid out differently (" +
                    std::to_string(context.Old.FloorData.size() / 2) + " and " +
                    std::to_string(context.New.FloorData.size() / 2) +
                    " words); the sectors' lists are compared by content");
  if (!context.SameGame) return;
  for (const auto& [name, make] : AllSections()) out.push_back(make(context.Old, context.New));
}

std::vector<std::string> SectionsNotCompared() {
  std::vector<std::string> names;
  for (const auto& section : AllSections()) names.emplace_back(section.first);
  names.push_back("room lights, ambient light and vertex light");
  return names;
}

}  // namespace slab::diff
