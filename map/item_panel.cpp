#include "map/item_panel.h"

#include <cctype>

#include "level/text.h"
#include "map/entity.h"

namespace slab {
namespace {

Rgb Colour(bool set) { return set ? kSetColour : kClearColour; }

ItemFlagColours ColoursFor(const ConstEntityRef& entity) {
  ItemFlagColours colours;
  const uint16_t flags = entity.ItemRecord ? entity.ItemRecord->Flags : entity.AI->Flags;
  const int shift = entity.ItemRecord ? kItemMaskShift : kAIMaskShift;
  for (int i = 0; i < 5; ++i) colours.ActiveFlags[i] = Colour(flags & (1 << (shift + i)));
  if (entity.ItemRecord) {
    colours.ItemInvisible = Colour(flags & kItemInvisible);
    colours.ItemCB = Colour(flags & kItemClearBody);
  }
  return colours;
}

uint16_t FlagsFrom(const ItemFlagColours& colours, bool item) {
  int flags = 0;
  const int shift = item ? kItemMaskShift : kAIMaskShift;
  for (int i = 0; i < 5; ++i)
    if (colours.ActiveFlags[i] == kSetColour) flags |= 1 << (shift + i);
  if (item && colours.ItemInvisible == kSetColour) flags |= kItemInvisible;
  if (item && colours.ItemCB == kSetColour) flags |= kItemClearBody;
  return static_cast<uint16_t>(flags);
}

}  // namespace

std::optional<ItemPanelView> ItemPanelFor(const Document& doc, MapState& state) {
  const int entity = state.SelectedEntity;
  const Level& level = doc.CurrentLevel;
  const auto ref = FindEntity(level, entity);
  if (!ref) return std::nullopt;
  ItemPanelView view;
  if (ref.ItemRecord) {
    view.Caption = "Item" + NumText(entity) + " - ObjectID" + NumText(ref.ItemRecord->ObjectID);
    view.ItemOCB = NumText(ref.ItemRecord->OCB);
    const size_t triggers =
        static_cast<size_t>(entity) < state.Triggers.size() ? state.Triggers[entity].size() : 0;
    view.ItemNumTriggers = "This object has " + std::to_string(triggers) + " triggers";
  } else {
    const auto ai = static_cast<int64_t>(entity) - static_cast<int64_t>(level.Items.size());
    view.Caption = "AI" + NumText(ai) + " - ObjectID" + NumText(ref.AI->ObjectID);
    view.ItemOCB = NumText(ref.AI->OCB);
  }
  state.FlagColours = ColoursFor(ref);
  view.Colours = state.FlagColours;
  return view;
}

std::optional<ItemPanelView> SelectEntity(const Document& doc, MapState& state, int line) {
  if (line < 0 || static_cast<size_t>(line) >= state.SectorEntities.size()) return std::nullopt;
  const int entity = state.SectorEntities[line];
  const auto ref = FindEntity(doc.CurrentLevel, entity);
  if (!ref) return std::nullopt;
  state.SelectedEntity = entity;
  state.SelectedStatic = -1;
  // AI objects are never triggered: "Next Trigger" follows items only.
  state.NavigationEntity = ref.ItemRecord ? entity : -1;
  state.NavigationPosition = 0;
  return ItemPanelFor(doc, state);
}

std::optional<ItemFlagColours> ToggleItemFlag(Document& doc, MapState& state, ItemFlagBox box) {
  const auto ref = FindEntity(doc.CurrentLevel, state.SelectedEntity);
  if (!ref) return std::nullopt;
  ItemFlagColours& colours = state.FlagColours;
  Rgb* clicked = nullptr;
  switch (box) {
    case ItemFlagBox::Invisible:
      clicked = &colours.ItemInvisible;
      break;
    case ItemFlagBox::ClearBody:
      clicked = &colours.ItemCB;
      break;
    default:
      clicked = &colours.ActiveFlags[static_cast<int>(box)];
      break;
  }
  *clicked = *clicked == kClearColour ? kSetColour : kClearColour;

  uint16_t& flags = ref.ItemRecord ? ref.ItemRecord->Flags : ref.AI->Flags;
  const uint16_t rebuilt = FlagsFrom(colours, ref.ItemRecord != nullptr);
  if (rebuilt != flags) doc.Modified = true;
  flags = rebuilt;
  return colours;
}

OcbText CheckOcbText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  const bool negative = pos > 0 && text[pos - 1] == '-';
  if (pos == text.size()) return OcbText::Unfinished;
  int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    if (!std::isdigit(static_cast<unsigned char>(text[pos]))) return OcbText::Refused;
    value = value * 10 + (text[pos] - '0');
    if (value > 32768) return OcbText::Refused;
  }
  return value <= (negative ? 32768 : 32767) ? OcbText::Acceptable : OcbText::Refused;
}

int16_t OcbFromText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  uint32_t value = 0;  // kept modulo 65536: only the low 16 bits reach the field
  for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
    value = (value * 10 + static_cast<uint32_t>(text[pos] - '0')) & 0xFFFF;
  if (negative) value = (0x10000 - value) & 0xFFFF;
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

bool SetItemOCB(Document& doc, MapState& state, std::string_view text) {
  const auto ref = FindEntity(doc.CurrentLevel, state.SelectedEntity);
  if (!ref) return false;
  int16_t& ocb = ref.ItemRecord ? ref.ItemRecord->OCB : ref.AI->OCB;
  const int16_t value = OcbFromText(text);
  if (value == ocb) return false;
  ocb = value;
  doc.Modified = true;
  return true;
}

}  // namespace slab
