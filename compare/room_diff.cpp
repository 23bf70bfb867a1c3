// Rooms by number, since everything else names them by number: rooms past the other level's
// last are added or removed; rooms in both compare their header, geometry, portals, lights,
// static meshes and sectors.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

#include "compare/diff_context.h"
#include "compare/digest.h"

namespace slab::diff {
namespace {

Change RoomChange(ChangeKind kind, ChangeSubject subject, int room) {
  Change change;
  change.Kind = kind;
  change.Subject = subject;
  change.Room = room;
  change.Where = "room " + std::to_string(room);
  return change;
}

void Push(std::vector<Change>& out, Change change, Lines& lines) {
  change.Summary = lines.Summary();
  change.Details = lines.TakeDetails();
  out.push_back(std::move(change));
}

std::string Size(const Room& room) {
  return std::to_string(room.NumXSectors) + " x " + std::to_string(room.NumZSectors);
}

void CompareHeader(const Context& context, const Room& a, const Room& b, Lines& lines) {
  if (a.Info.X != b.Info.X || a.Info.Z != b.Info.Z)
    lines.Add("position",
              "position " +
                  Arrow("(" + std::to_string(a.Info.X) + ", " + std::to_string(a.Info.Z) + ")",
                        "(" + std::to_string(b.Info.X) + ", " + std::to_string(b.Info.Z) + ")"));
  if (a.NumXSectors != b.NumXSectors || a.NumZSectors != b.NumZSectors)
    lines.Add("size", "size " + Arrow(Size(a), Size(b)) + " sectors");
  lines.Field("heights", "bottom", a.Info.YBottom, b.Info.YBottom);
  lines.Field("heights", "top", a.Info.YTop, b.Info.YTop);
  if (a.Flags != b.Flags)
    lines.Add("flags", "flags " + Arrow(Hex(static_cast<uint16_t>(a.Flags), 4),
                                        Hex(static_cast<uint16_t>(b.Flags), 4)));
  lines.Field("alternate room", "alternate room", a.AlternateRoom, b.AlternateRoom);
  lines.Field("alternate group", "alternate group", a.AlternateGroup, b.AlternateGroup);
  if (!context.SameGame) return;  // the rest is light, which a conversion redoes
  lines.Field("ambient", "ambient intensity", a.AmbientIntensity1, b.AmbientIntensity1);
  lines.Field("ambient", "ambient intensity 2", a.AmbientIntensity2, b.AmbientIntensity2);
  lines.Field("ambient", "light mode", a.LightMode, b.LightMode);
  lines.Field("water", "water scheme", a.WaterScheme, b.WaterScheme);
  lines.Field("reverb", "reverb", a.ReverbInfo, b.ReverbInfo);
  lines.Field("colour", "colour byte", a.Tr5RoomByte, b.Tr5RoomByte);
}

// Vertices by their positions only: a conversion relights every vertex.
uint64_t VertexPositions(const std::vector<RoomVertex>& vertices) {
  Digest digest;
  for (const RoomVertex& v : vertices) digest.Add(v.X).Add(v.Y).Add(v.Z);
  return digest.Value();
}

uint64_t VertexLight(const std::vector<RoomVertex>& vertices) {
  Digest digest;
  for (const RoomVertex& v : vertices) digest.Add(v.Lighting1).Add(v.Attributes).Add(v.Lighting2);
  return digest.Value();
}

template <typename Face>
uint64_t Faces(const std::vector<Face>& faces) {
  Digest digest;
  for (const Face& f : faces) {
    for (int16_t v : f.Vertices) digest.Add(v);
    digest.Add(f.Texture).Add(f.Extra);
  }
  return digest.Value();
}

uint64_t Sprites(const std::vector<RoomSprite>& sprites) {
  Digest digest;
  for (const RoomSprite& s : sprites) digest.Add(s.Vertex).Add(s.Texture);
  return digest.Value();
}

uint64_t Layers(const std::vector<RoomLayer>& layers) {
  Digest digest;
  for (const RoomLayer& layer : layers) digest.AddBytes(layer.Bytes);
  return digest.Value();
}

void GeometryPart(Lines& lines, const char* name, size_t countA, size_t countB, uint64_t digestA,
                  uint64_t digestB) {
  if (countA != countB)
    lines.Add(name, std::string(name) + " " +
                        Arrow(static_cast<int64_t>(countA), static_cast<int64_t>(countB)) +
                        ", content " + Arrow(DigestText(digestA), DigestText(digestB)));
  else if (digestA != digestB)
    lines.Add(name, std::string(name) + " " + std::to_string(countA) + ", content " +
                        Arrow(DigestText(digestA), DigestText(digestB)));
}

void CompareGeometry(const Context& context, const Room& a, const Room& b, Lines& lines) {
  GeometryPart(lines, "vertices", a.Vertices.size(), b.Vertices.size(), VertexPositions(a.Vertices),
               VertexPositions(b.Vertices));
  if (context.SameGame && a.Vertices.size() == b.Vertices.size())
    GeometryPart(lines, "vertex light", a.Vertices.size(), b.Vertices.size(),
                 VertexLight(a.Vertices), VertexLight(b.Vertices));
  GeometryPart(lines, "rectangles", a.Rectangles.size(), b.Rectangles.size(), Faces(a.Rectangles),
               Faces(b.Rectangles));
  GeometryPart(lines, "triangles", a.Triangles.size(), b.Triangles.size(), Faces(a.Triangles),
               Faces(b.Triangles));
  GeometryPart(lines, "sprites", a.Sprites.size(), b.Sprites.size(), Sprites(a.Sprites),
               Sprites(b.Sprites));
  if (context.SameGame) {
    lines.Field("sprites", "sprite count", a.Tr4SpriteCount, b.Tr4SpriteCount);
    GeometryPart(lines, "layers", a.Layers.size(), b.Layers.size(), Layers(a.Layers),
                 Layers(b.Layers));
  }
}

bool SamePortal(const Portal& a, const Portal& b) {
  return a.AdjoiningRoom == b.AdjoiningRoom && a.Normal == b.Normal && a.Vertices == b.Vertices;
}

std::string PortalText(const Portal& p) {
  std::vector<std::string> corners;
  for (int c = 0; c < 4; ++c)
    corners.push_back(Position(p.Vertices[3 * c], p.Vertices[3 * c + 1], p.Vertices[3 * c + 2]));
  return "to room " + std::to_string(p.AdjoiningRoom) + ", normal " +
         Position(p.Normal[0], p.Normal[1], p.Normal[2]) + ", corners " + Join(corners, " ");
}

// Portals have no order that matters: equal ones pair wherever they are, then those leading
// to the same room.
void ComparePortals(int room, const Room& a, const Room& b, std::vector<Change>& out) {
  std::vector<int> newOf(a.Portals.size(), -1), oldOf(b.Portals.size(), -1);
  auto match = [&](auto same) {
    for (size_t i = 0; i < a.Portals.size(); ++i)
      for (size_t j = 0; newOf[i] == -1 && j < b.Portals.size(); ++j)
        if (oldOf[j] == -1 && same(a.Portals[i], b.Portals[j]))
          newOf[i] = static_cast<int>(j), oldOf[j] = static_cast<int>(i);
  };
  match(SamePortal);
  match([](const Portal& p, const Portal& q) { return p.AdjoiningRoom == q.AdjoiningRoom; });
  auto change = [&](ChangeKind kind, int i, int j) {
    Change c = RoomChange(kind, ChangeSubject::Portal, room);
    c.OldIndex = i;
    c.NewIndex = j;
    const int shown = j >= 0 ? j : i;
    c.Where += ", portal " + (i >= 0 && j >= 0 && i != j ? std::to_string(i) + " -> " : "") +
               std::to_string(shown);
    c.Summary = KindWord(kind);
    return c;
  };
  for (size_t i = 0; i < a.Portals.size(); ++i) {
    const int j = newOf[i];
    if (j >= 0 && SamePortal(a.Portals[i], b.Portals[j])) continue;
    Change c = change(j >= 0 ? ChangeKind::Changed : ChangeKind::Removed, static_cast<int>(i), j);
    if (j >= 0) {
      const Portal& p = a.Portals[i];
      const Portal& q = b.Portals[j];
      std::vector<std::string> topics;
      if (p.AdjoiningRoom != q.AdjoiningRoom) topics.push_back("room");
      if (p.Normal != q.Normal || p.Vertices != q.Vertices) topics.push_back("shape");
      c.Summary = Join(topics, ", ");
    }
    c.Details.push_back(j >= 0 ? Arrow(PortalText(a.Portals[i]), PortalText(b.Portals[j]))
                               : "was " + PortalText(a.Portals[i]));
    out.push_back(std::move(c));
  }
  for (size_t j = 0; j < b.Portals.size(); ++j)
    if (oldOf[j] == -1) {
      Change c = change(ChangeKind::Added, -1, static_cast<int>(j));
      c.Details.push_back("is " + PortalText(b.Portals[j]));
      out.push_back(std::move(c));
    }
}

std::string FloatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

// Floats compare by their bits, so a NaN in a file equals itself.
bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CompareLight(const RoomLight& a, const RoomLight& b, Lines& lines) {
  if (a.X != b.X || a.Y != b.Y || a.Z != b.Z)
    lines.Add("position", "position " + Arrow(Position(a.X, a.Y, a.Z), Position(b.X, b.Y, b.Z)));
  if (a.DX != b.DX || a.DY != b.DY || a.DZ != b.DZ)
    lines.Add("direction",
              "direction words " + Arrow(Position(a.DX, a.DY, a.DZ), Position(b.DX, b.DY, b.DZ)));
  lines.Field("intensity", "intensity", a.Intensity1, b.Intensity1);
  lines.Field("intensity", "intensity 2", a.Intensity2, b.Intensity2);
  lines.Field("intensity", "intensity byte", a.Intensity, b.Intensity);
  lines.Field("fade", "fade", a.Fade1, b.Fade1);
  lines.Field("fade", "fade 2", a.Fade2, b.Fade2);
  lines.Field("type", "type", a.LightType, b.LightType);
  if (a.Colour != b.Colour)
    lines.Add("colour", "colour " + Arrow(Position(a.Colour[0], a.Colour[1], a.Colour[2]),
                                          Position(b.Colour[0], b.Colour[1], b.Colour[2])));
  const struct {
    const char* Topic;
    const char* Name;
    float RoomLight::*Field;
  } floats[] = {{"position", "float x", &RoomLight::FX},
                {"position", "float y", &RoomLight::FY},
                {"position", "float z", &RoomLight::FZ},
                {"cone", "in", &RoomLight::In},
                {"cone", "out", &RoomLight::Out},
                {"cone", "length", &RoomLight::Length},
                {"cone", "cut-off", &RoomLight::CutOff},
                {"direction", "direction x", &RoomLight::DirX},
                {"direction", "direction y", &RoomLight::DirY},
                {"direction", "direction z", &RoomLight::DirZ},
                {"range", "range", &RoomLight::Range},
                {"colour", "red", &RoomLight::Red},
                {"colour", "green", &RoomLight::Green},
                {"colour", "blue", &RoomLight::Blue}};
  for (const auto& f : floats)
    if (!SameBits(a.*f.Field, b.*f.Field))
      lines.Add(f.Topic,
                std::string(f.Name) + " " + Arrow(FloatText(a.*f.Field), FloatText(b.*f.Field)));
}

void CompareLights(int room, const Room& a, const Room& b, std::vector<Change>& out) {
  const size_t both = std::min(a.Lights.size(), b.Lights.size());
  for (size_t k = 0; k < std::max(a.Lights.size(), b.Lights.size()); ++k) {
    const ChangeKind kind = k < both              ? ChangeKind::Changed
                            : k < a.Lights.size() ? ChangeKind::Removed
                                                  : ChangeKind::Added;
    Lines lines;
    if (kind == ChangeKind::Changed) {
      CompareLight(a.Lights[k], b.Lights[k], lines);
      if (lines.Empty()) continue;
    }
    Change c = RoomChange(kind, ChangeSubject::Light, room);
    c.OldIndex = k < a.Lights.size() ? static_cast<int>(k) : -1;
    c.NewIndex = k < b.Lights.size() ? static_cast<int>(k) : -1;
    c.Where += ", light " + std::to_string(k);
    if (kind != ChangeKind::Changed) {
      const RoomLight& l = kind == ChangeKind::Added ? b.Lights[k] : a.Lights[k];
      lines.Add(KindWord(kind), std::string(kind == ChangeKind::Added ? "is" : "was") + " at " +
                                    Position(l.X, l.Y, l.Z));
    }
    Push(out, std::move(c), lines);
  }
}

bool SameStaticPlace(const RoomStatic& a, const RoomStatic& b) {
  return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

bool SameStatic(const RoomStatic& a, const RoomStatic& b) {
  return SameStaticPlace(a, b) && a.Rotation == b.Rotation && a.Intensity1 == b.Intensity1 &&
         a.Intensity2 == b.Intensity2 && a.ObjectID == b.ObjectID;
}

// Static meshes pair by position first (the same place with the same id before another id),
// then what is left by id in list order, which is a static moved elsewhere.
void CompareStatics(const Context& context, int room, const Room& a, const Room& b,
                    std::vector<Change>& out) {
  std::vector<int> newOf(a.StaticMeshes.size(), -1), oldOf(b.StaticMeshes.size(), -1);
  auto match = [&](auto same) {
    for (size_t i = 0; i < a.StaticMeshes.size(); ++i)
      for (size_t j = 0; newOf[i] == -1 && j < b.StaticMeshes.size(); ++j)
        if (oldOf[j] == -1 && same(a.StaticMeshes[i], b.StaticMeshes[j]))
          newOf[i] = static_cast<int>(j), oldOf[j] = static_cast<int>(i);
  };
  match(SameStatic);
  match([](const RoomStatic& p, const RoomStatic& q) {
    return SameStaticPlace(p, q) && p.ObjectID == q.ObjectID;
  });
  match(SameStaticPlace);
  match([](const RoomStatic& p, const RoomStatic& q) { return p.ObjectID == q.ObjectID; });

  auto make = [&](ChangeKind kind, int i, int j) {
    Change c = RoomChange(kind, ChangeSubject::Static, room);
    c.OldIndex = i;
    c.NewIndex = j;
    const RoomStatic& shown = j >= 0 ? b.StaticMeshes[j] : a.StaticMeshes[i];
    int sa = 0, sb = 0;
    if (SectorOf(j >= 0 ? context.New : context.Old, room, shown.X, shown.Z, sa, sb))
      c.A = sa, c.B = sb;
    c.Where =
        PlaceText(c) + ", static " +
        (i >= 0 && j >= 0 && i != j ? std::to_string(i) + " -> " : "") +
        std::to_string(j >= 0 ? j : i) + " (" +
        StaticName(context.Names, shown.ObjectID, j >= 0 ? context.NewGame : context.OldGame) + ")";
    return c;
  };
  auto whole = [&](const RoomStatic& s, bool inNew) {
    return std::string(inNew ? "is " : "was ") + "id " + StaticText(context, inNew, s.ObjectID) +
           " at " + Position(s.X, s.Y, s.Z) + ", rotation " + std::to_string(s.Rotation) +
           ", intensity " + std::to_string(s.Intensity1) + ", intensity 2 " +
           std::to_string(s.Intensity2);
  };
  for (size_t i = 0; i < a.StaticMeshes.size(); ++i)
    if (newOf[i] == -1) {
      Lines lines;
      lines.Add("removed", whole(a.StaticMeshes[i], false));
      Push(out, make(ChangeKind::Removed, static_cast<int>(i), -1), lines);
    }
  for (size_t j = 0; j < b.StaticMeshes.size(); ++j) {
    const int i = oldOf[j];
    Lines lines;
    if (i == -1) {
      lines.Add("added", whole(b.StaticMeshes[j], true));
      Push(out, make(ChangeKind::Added, -1, static_cast<int>(j)), lines);
      continue;
    }
    const RoomStatic& p = a.StaticMeshes[i];
    const RoomStatic& q = b.StaticMeshes[j];
    if (p.ObjectID != q.ObjectID)
      lines.Add("id", "id " + Arrow(StaticText(context, false, p.ObjectID),
                                    StaticText(context, true, q.ObjectID)));
    if (!SameStaticPlace(p, q))
      lines.Add("position", "position " + Arrow(Position(p.X, p.Y, p.Z), Position(q.X, q.Y, q.Z)));
    lines.Field("rotation", "rotation", p.Rotation, q.Rotation);
    lines.Field("intensity", "intensity", p.Intensity1, q.Intensity1);
    lines.Field("intensity", "intensity 2", p.Intensity2, q.Intensity2);
    if (!lines.Empty()) Push(out, make(ChangeKind::Changed, i, static_cast<int>(j)), lines);
  }
}

}  // namespace

void CompareRooms(const Context& context, std::vector<Change>& out) {
  const size_t oldCount = context.Old.Rooms.size(), newCount = context.New.Rooms.size();
  for (size_t r = 0; r < std::max(oldCount, newCount); ++r) {
    const int room = static_cast<int>(r);
    if (r >= oldCount || r >= newCount) {
      const bool added = r >= oldCount;
      const Room& shown = added ? context.New.Rooms[r] : context.Old.Rooms[r];
      Change c =
          RoomChange(added ? ChangeKind::Added : ChangeKind::Removed, ChangeSubject::Room, room);
      c.Summary = KindWord(c.Kind);
      c.Details.push_back(std::string(added ? "is " : "was ") + Size(shown) + " sectors at (" +
                          std::to_string(shown.Info.X) + ", " + std::to_string(shown.Info.Z) +
                          "), " + std::to_string(shown.Vertices.size()) + " vertices, " +
                          std::to_string(shown.StaticMeshes.size()) + " static meshes");
      out.push_back(std::move(c));
      continue;
    }
    const Room& a = context.Old.Rooms[r];
    const Room& b = context.New.Rooms[r];
    Lines header;
    CompareHeader(context, a, b, header);
    if (!header.Empty())
      Push(out, RoomChange(ChangeKind::Changed, ChangeSubject::Room, room), header);
    Lines geometry;
    CompareGeometry(context, a, b, geometry);
    if (!geometry.Empty()) {
      Change c = RoomChange(ChangeKind::Changed, ChangeSubject::Geometry, room);
      c.Where += ", geometry";
      Push(out, std::move(c), geometry);
    }
    ComparePortals(room, a, b, out);
    if (context.SameGame) CompareLights(room, a, b, out);
    CompareStatics(context, room, a, b, out);
    CompareSectors(context, room, out);
  }
}

}  // namespace slab::diff
