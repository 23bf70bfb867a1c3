// Writes small synthetic levels into a folder, as seeds for the fuzz targets: the first- to
// third-game sample level of each version (no texture pages), both first-game palette places,
// an empty level of each version, a composed fourth- and fifth-game level, and the bare
// version words of the others.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/compose_classic.h"
#include "tools/compose_tr45.h"

using namespace slab;
using namespace slab::test;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
    return 1;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (Game v : {Game::TR1, Game::TR2, Game::TR3}) {
      const std::string tag = "classic_tr" + std::to_string(GameNumber(v));
      DraftLevel d = SampleDraft(v);
      d.NumTextiles = 0;
      WriteBytes(dir / (tag + "_sample"), ComposeClassic(d).Bytes);
      if (v == Game::TR1) {
        d.Tr1Palette = Tr1PaletteLayout::AfterSpriteSequences;
        WriteBytes(dir / (tag + "_demo_palette"), ComposeClassic(d).Bytes);
      }
      if (v == Game::TR3) {
        d.VersionWord = 0xFF080038;
        WriteBytes(dir / (tag + "_other_word"), ComposeClassic(d).Bytes);
      }
      DraftLevel empty;
      empty.GameVersion = v;
      WriteBytes(dir / (tag + "_empty"), ComposeClassic(empty).Bytes);
    }
    WriteBytes(dir / "tr4_sample", ComposeTR4(SampleTr4Draft()).Bytes);
    WriteBytes(dir / "tr5_sample", ComposeTR5(SampleTr5Draft()).Bytes);
    for (uint32_t word : {0x00345254u, 0x03452548u, 0xFFFFFFF0u, 0xFF180034u}) {
      char name[32];
      std::snprintf(name, sizeof name, "word_%08x", word);
      WriteBytes(dir / name, {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                              static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)});
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
