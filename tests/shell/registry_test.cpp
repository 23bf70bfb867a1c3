#include "shell/registry.h"

#include <gtest/gtest.h>

#include "level/messages.h"
#include "shell/registry_memory.h"

namespace slab {
namespace {

TEST(ParseRegistryPath, SplitsRootAndSubkeyAndRefusesBadFormats) {
  struct Case {
    std::string Path, Rest;
    uint32_t Root;
  };
  RecordingSink sink;
  for (Case c :
       {Case{"HKEY_LOCAL_MACHINE\\software\\Ondravel", "software\\Ondravel", kHKeyLocalMachine},
        {"HKEY_CLASSES_ROOT", "", kHKeyClassesRoot},
        {"HKEY_DYN_DATA\\x", "x", kHKeyDynData},
        {"HKEY_NOWHERE\\x", "x", 0u}}) {  // unknown root: no message, nothing done
    std::string path = c.Path;
    EXPECT_EQ(ParseRegistryPath(path, sink), c.Root) << c.Path;
    if (c.Root != 0) {
      EXPECT_EQ(path, c.Rest);
    }
  }
  EXPECT_TRUE(sink.Shown.empty());

  for (std::string bad :
       {"HKCR\\.tr4", "HKEY_CLASSES_ROOT\\.tr4\\", "hkey_classes_root\\.tr4", ""}) {
    RecordingSink badSink;
    std::string path = bad;
    EXPECT_EQ(ParseRegistryPath(path, badSink), 0u) << bad;
    ASSERT_EQ(badSink.Shown.size(), 1u) << bad;
    EXPECT_EQ(badSink.Shown[0], "Incorrect Format:\n\n" + bad);
  }
}

TEST(RegistryStrings, ErrTrimmedOrEmptyAndWritesNeedAKey) {
  MemoryRegistry registry;
  RecordingSink sink;
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "Err");
  RegistryCreateKey(registry, "HKEY_CLASSES_ROOT\\.tr4", sink);
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "Err");
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.TR4", "", std::string("  TR4 Level \0x", 15),
                    sink);
  EXPECT_EQ(RegistryGetString(registry, "HKEY_CLASSES_ROOT\\.tr4", "", sink), "TR4 Level");
  RegistrySetString(registry, "HKEY_CURRENT_USER\\nothing", "", "x", sink);
  EXPECT_FALSE(registry.HasKey(kHKeyCurrentUser, "nothing"));
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_EQ(RegistryGetString(registry, "HKCR\\.tr4", "", sink), "");
  EXPECT_EQ(sink.Shown.size(), 1u);
}

std::string Get(MemoryRegistry& registry, const std::string& key) {
  RecordingSink sink;
  return RegistryGetString(registry, "HKEY_CLASSES_ROOT\\" + key, "", sink);
}
std::string Command(MemoryRegistry& registry, const std::string& className,
                    const std::string& verb) {
  return Get(registry, className + "\\shell\\" + verb + "\\Command");
}

TEST(RegisterAssociations, ClassesAndVerbsFollowAMovedProgram) {
  MemoryRegistry registry;
  RecordingSink sink;
  RegistryStartUp(registry, "C:\\Old", sink);
  RegistryStartUp(registry, "C:\\Games\\Slab\\", sink);
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_TRUE(registry.HasKey(kHKeyLocalMachine, "software\\Ondravel\\Slabwright"));
  EXPECT_EQ(Get(registry, ".tr4"), "TR4 Level");
  EXPECT_EQ(Get(registry, ".trc"), "TR5 Level");
  EXPECT_EQ(Get(registry, ".tr2"), "TR2 Level");
  // Every verb names the program where it now is.
  EXPECT_EQ(Command(registry, "TR4 Level", "Convert To TR3"),
            "\"C:\\Games\\Slab\\Slabwright2.exe\" /convert3 %1");
  EXPECT_EQ(Command(registry, "TR5 Level", "View Rooms with Slabwright"),
            "\"C:\\Games\\Slab\\Slabwright2.exe\" /view %1");
  // The conversions are offered on fourth-game files only.
  EXPECT_EQ(Command(registry, "TR2 Level", "Convert To TR3"), "Err");
  EXPECT_EQ(Command(registry, "TR5 Level", "Convert To TR2"), "Err");
}

TEST(RegisterAssociations, EmptyDefaultsFilledAndAnotherProgramsClassKept) {
  MemoryRegistry registry;
  RecordingSink sink;
  for (const char* key :
       {"HKEY_CLASSES_ROOT\\.tr4", "HKEY_CLASSES_ROOT\\.trc", "HKEY_CLASSES_ROOT\\.tr2"})
    RegistryCreateKey(registry, key, sink);
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.trc", "", "   ", sink);
  RegistrySetString(registry, "HKEY_CLASSES_ROOT\\.tr2", "", "Other.Level", sink);
  RegisterAssociations(registry, "D:\\Slab", sink);
  EXPECT_TRUE(sink.Shown.empty());
  EXPECT_EQ(Get(registry, ".tr4"), "TR4 Level");
  EXPECT_EQ(Get(registry, ".trc"), "TR5 Level");
  EXPECT_EQ(Get(registry, ".tr2"), "Other.Level");
  EXPECT_EQ(Command(registry, "TR4 Level", "View Rooms with Slabwright"),
            "\"D:\\Slab\\Slabwright2.exe\" /view %1");
  EXPECT_EQ(Command(registry, "Other.Level", "View Rooms with Slabwright"),
            "\"D:\\Slab\\Slabwright2.exe\" /view %1");
  EXPECT_FALSE(registry.HasKey(kHKeyClassesRoot, "TR2 Level"));
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
