#include "shell/registry.h"

#include <gtest/gtest.h>

#include "level/messages.h"
#include "shell/registry_memory.h"

namespace slab {
namespace {

TEST(ParseRegistryPath, SplitsRootAndSubkey) {
  RecordingSink sink;
  std::string path = "HKEY_LOCAL_MACHINE\\software\\Ondravel";
  EXPECT_EQ(ParseRegistryPath(path, sink), kHKeyLocalMachine);
  EXPECT_EQ(path, "software\\Ondravel");

  path = "HKEY_CLASSES_ROOT";
  EXPECT_EQ(ParseRegistryPath(path, sink), kHKeyClassesRoot);
  EXPECT_EQ(path, "");

  path = "HKEY_DYN_DATA\\x";
  EXPECT_EQ(ParseRegistryPath(path, sink), kHKeyDynData);

  // An unknown root is no format error: the operation just does nothing.
  path = "HKEY_NOWHERE\\x";
  EXPECT_EQ(ParseRegistryPath(path, sink), 0u);
  EXPECT_TRUE(sink.Shown.empty());
}

TEST(ParseRegistryPath, RefusesAbbreviatedRootAndTrailingBackslash) {
  for (std::string bad :
       {"HKCR\\.tr4", "HKEY_CLASSES_ROOT\\.tr4\\", "hkey_classes_root\\.tr4", ""}) {
    RecordingSink sink;
    std::string path = bad;
    EXPECT_EQ(ParseRegistryPath(path, sink), 0u) << bad;
    ASSERT_EQ(sink.Shown.size(), 1u) << bad;
    EXPECT_EQ(sink.Shown[0], "Incorrect Format:\n\n" + bad);
  }
}

TEST(RegistryGetString, ErrTrimmedOrEmpty) {
  MemoryRegistry registry;
  RecordingSink sink;
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "Err");
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.tr4", sink);
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "Err");
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.TR4", "", std::string("  TR4 Level \0x", 15),
                    sink);
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "TR4 Level");
  EXPECT_TRUE(sink.Shown.empty());

  EXPECT_EQ(RegistryGetString(registry, "HKCR\\.tr4", "", sink), "");
  EXPECT_EQ(sink.Shown.size(), 1u);
}

TEST(RegistrySetString, NeedsAnExistingKey) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistrySetString(registry, "HKEY_CURRENT_USER\\nothing", "", "x", sink);
  EXPECT_FALSE(registry.HasKey(kHKeyCurrentUser, "nothing"));
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CURRENT_USER\\nothing", "", sink), "Err");
}

std::string Command(MemoryRegistry& registry, const std::string& className,
                    const std::string& verb) {
  RecordingSink sink;
  return RegistryGetString(
      registry, "HKEY_CLASSES_ROOT\\" + className + "\\shell\\" + verb + "\\Command", "", sink);
}

TEST(RegisterAssociations, NewExtensionsGetTheirClassesAndVerbs) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistryStartUp(registry, "C:\\Games\\Slab", sink);
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_TRUE(registry.HasKey(kHKeyLocalMachine, "software\\Ondravel\\Slabwright"));

  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "TR4 Level");
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.trc", "", sink), "TR5 Level");
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr2", "", sink), "TR2 Level");
  const std::string program = "\"C:\\Games\\Slab\\Slabwright2.exe\" ";
  EXPECT_EQ(Command(registry, "TR4 Level", "Convert To TR3"), program + "/convert3 %1");
  EXPECT_EQ(Command(registry, "TR4 Level", "Convert To TR2"), program + "/convert2 %1");
  EXPECT_EQ(Command(registry, "TR4 Level", "View Rooms with Slabwright"), program + "/view %1");
  EXPECT_EQ(Command(registry, "TR5 Level", "View Rooms with Slabwright"), program + "/view %1");
  EXPECT_EQ(Command(registry, "TR2 Level", "View Rooms with Slabwright"), program + "/view %1");
  // The conversions are offered on fourth-game files only.
  EXPECT_EQ(Command(registry, "TR2 Level", "Convert To TR3"), "Err");
  EXPECT_EQ(Command(registry, "TR5 Level", "Convert To TR2"), "Err");
}

TEST(RegisterAssociations, ExtensionWithoutDefaultValueOrWithAnEmptyOne) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.tr4", sink);
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.trc", sink);
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.trc", "", "   ", sink);
  RegisterAssociations(registry, "D:\\Slab", sink);
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "TR4 Level");
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.trc", "", sink), "TR5 Level");
  EXPECT_EQ(Command(registry, "TR4 Level", "View Rooms with Slabwright"),
            "\"D:\\Slab\\Slabwright2.exe\" /view %1");
}

TEST(RegisterAssociations, ClassOfAnotherProgramGetsTheVerbs) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.tr2", sink);
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.tr2", "", "Other.Level", sink);
  RegisterAssociations(registry, "D:\\Slab", sink);
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr2", "", sink), "Other.Level");
  EXPECT_EQ(Command(registry, "Other.Level", "View Rooms with Slabwright"),
            "\"D:\\Slab\\Slabwright2.exe\" /view %1");
  EXPECT_FALSE(registry.HasKey(kHKeyClassesRoot, "TR2 Level"));
}

TEST(RegisterAssociations, MovedProgramRewritesEveryCommand) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegisterAssociations(registry, "C:\\Old", sink);
  RegisterAssociations(registry, "E:\\New\\", sink);
  for (auto [className, verb] : {std::pair{"TR4 Level", "Convert To TR3"},
                                 {"TR4 Level", "Convert To TR2"},
                                 {"TR4 Level", "View Rooms with Slabwright"},
                                 {"TR5 Level", "View Rooms with Slabwright"},
                                 {"TR2 Level", "View Rooms with Slabwright"}})
    EXPECT_TRUE(Command(registry, className, verb).starts_with("\"E:\\New\\Slabwright2.exe\" "))
        << className << " " << verb;
}

TEST(RegisterAssociations, RefusedWritesPassSilently) {
  MemoryRegistry registry;
  registry.ReadOnly = true;
  RecordingSink sink;
  RegistryStartUp(registry, "C:\\Slab", sink);
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_EQ(registry.KeyCount(), 0u);
}

}  // namespace
}  // namespace slab
