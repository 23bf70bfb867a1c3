#include "shell/registry.h"

#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/registry_memory.h"

namespace slab {
namespace {

// Paths that split are walked by the association test; these are refused.
TEST(ParseRegistryPath, UnknownRootsAndBadFormatsAreRefused) {
  RecordingSink sink;
  std::string unknown = "HKEY_NOWHERE\\x";
  EXPECT_EQ(ParseRegistryPath(unknown, sink), 0u);
  EXPECT_TRUE(sink.Shown.empty());  // an unknown root is no format error

  for (std::string bad :
       {"HKCR\\.tr4", "HKEY_CLASSES_ROOT\\.tr4\\", "hkey_classes_root\\.tr4", ""}) {
    RecordingSink badSink;
    std::string path = bad;
    EXPECT_EQ(ParseRegistryPath(path, badSink), 0u) << bad;
    EXPECT_EQ(badSink.Shown, std::vector<std::string>{"Incorrect Format:\n\n" + bad});
  }
}

// The command of `verb` on the class an extension names.
std::string Command(MemoryRegistry& registry, const std::string& extension,
                    const std::string& verb) {
  RecordingSink sink;
  const std::string type = RegistryGetString(registry, "HKEY_CLASSES_ROOT\\" + extension, "", sink);
  return RegistryGetString(
      registry, "HKEY_CLASSES_ROOT\\" + type + "\\shell\\" + verb + "\\Command", "", sink);
}

TEST(RegisterAssociations, VerbsFollowAMovedProgramAnotherProgramsClassIsKeptRefusalsAreSilent) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.trc", sink);
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.trc", "", "   ", sink);  // empty: filled
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.tr2", sink);
  // As another program left it, under another case: the value ends at its NUL, spaces trimmed.
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.TR2", "", std::string(" Other.Level \0x", 15),
                    sink);
  RegistryStartUp(registry, "C:\\Old", sink);
  RegistryStartUp(registry, "C:/Games/Slab/", sink);  // as the toolkit gives the folder
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_TRUE(registry.HasKey(kHKeyLocalMachine, "software\\Ondravel\\Slabwright"));
  const std::string program = "\"C:\\Games\\Slab\\Slabwright2.exe\"";
  EXPECT_EQ(Command(registry, ".tr4", "Convert To TR3"), program + " /convert3 %1");
  EXPECT_EQ(Command(registry, ".trc", "View Rooms with Slabwright"), program + " /view %1");
  EXPECT_EQ(Command(registry, ".tr2", "View Rooms with Slabwright"), program + " /view %1");
  // The conversions are offered on fourth-game files only.
  EXPECT_EQ(Command(registry, ".tr2", "Convert To TR3"), "Err");
  EXPECT_EQ(Command(registry, ".trc", "Convert To TR2"), "Err");
  EXPECT_FALSE(registry.HasKey(kHKeyClassesRoot, "TR2 Level"));
  EXPECT_TRUE(registry.HasKey(kHKeyClassesRoot, "Other.Level\\shell"));
  // A registry that refuses every write is passed over in silence.
  MemoryRegistry readOnly;
  readOnly.ReadOnly = true;
  RegistryStartUp(readOnly, "C:\\Slab", sink);
  EXPECT_EQ(readOnly.KeyCount(), 0u);
  EXPECT_TRUE(sink.Shown.empty());
}

}  // namespace
}  // namespace slab
