// The Windows registry backend and the file associations against the real registry (Wine's,
// in a scratch prefix, under scripts/test-windows). Values are read back with the system's own
// wide-character calls, so text stored wrongly (in the ANSI code page, cut short) shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/messages.h"
#include "platform/registry_backend.h"
#include "shell/registry.h"

namespace slab {
namespace {

constexpr char kTestKey[] = "Software\\Slabwright tests";

// The default or named value of a key as the system reads it, or "(none)".
std::wstring Raw(HKEY root, const std::wstring& subkey, const std::wstring& name = L"") {
  wchar_t buffer[2048] = {};
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(root, subkey.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ,
                   &type, buffer, &bytes) != ERROR_SUCCESS)
    return L"(none)";
  return buffer;
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Slabwright tests");
    for (const wchar_t* key : {L".tr4", L".trc", L".tr2", L"TR4 Level", L"TR5 Level",
                               L"TR2 Level", L"Machine.Tr2"}) {
      RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Classes\\") + key).c_str());
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + key).c_str());
    }
  }
  RegistryBackend& registry_ = SystemRegistry();
};

TEST_F(Win32RegistryTest, TextRoundTripsAsUnicodeWholeAtAnyLength) {
  const std::string subkey = std::string(kTestKey) + "\\Gr\xC3\xB6\xC3\x9F" "e";  // "Größe"
  ASSERT_TRUE(registry_.CreateKey(kHKeyCurrentUser, subkey));
  const std::string folder = "\"C:\\Spiele\\\xC3\x9C" "ber\\Slabwright2.exe\" /view %1";  // Über
  ASSERT_TRUE(registry_.SetString(kHKeyCurrentUser, subkey, "", folder));
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, subkey, ""), folder);
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, L"Software\\Slabwright tests\\Gr\u00F6\u00DFe"),
            L"\"C:\\Spiele\\\u00DCber\\Slabwright2.exe\" /view %1");
  // Longer than the 255 characters a fixed buffer would hold: read whole, not taken for none.
  const std::string longText(600, 'x');
  ASSERT_TRUE(registry_.SetString(kHKeyCurrentUser, subkey, "Long", longText));
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, subkey, "Long"), longText);
  // An empty value is there and empty.
  ASSERT_TRUE(registry_.SetString(kHKeyCurrentUser, subkey, "Empty", ""));
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, subkey, "Empty"), "");
}

TEST_F(Win32RegistryTest, MissingKeysValuesAndNonTextAreNothingAndWritesNeedAKey) {
  const std::string missing = std::string(kTestKey) + "\\missing";
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, missing, ""), std::nullopt);
  EXPECT_FALSE(registry_.SetString(kHKeyCurrentUser, missing, "", "x"));
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, L"Software\\Slabwright tests\\missing"), L"(none)");
  ASSERT_TRUE(registry_.CreateKey(kHKeyCurrentUser, kTestKey));
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, kTestKey, "absent"), std::nullopt);
  const DWORD number = 7;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Slabwright tests", L"Number", REG_DWORD, &number,
                  sizeof(number));
  EXPECT_EQ(registry_.GetString(kHKeyCurrentUser, kTestKey, "Number"), std::nullopt);
  // A root the system does not have is refused, not passed on as a null handle.
  EXPECT_FALSE(registry_.CreateKey(kHKeyDynData, "x"));
  EXPECT_EQ(registry_.GetString(0x12345678u, "x", ""), std::nullopt);
}

TEST_F(Win32RegistryTest, ClassesAreWrittenForTheUserAndTheUsersOwnAreReadFirst) {
  ASSERT_TRUE(registry_.CreateKey(kHKeyClassesRoot, ".tr4"));
  ASSERT_TRUE(registry_.SetString(kHKeyClassesRoot, ".tr4", "", "TR4 Level"));
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, L"Software\\Classes\\.tr4"), L"TR4 Level");
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.tr4"), L"(none)");
  // The machine's class stands where the user has none; the user's wins where both have one.
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.tr2", nullptr, REG_SZ, L"Machine.Tr2",
                  sizeof(L"Machine.Tr2"));
  EXPECT_EQ(registry_.GetString(kHKeyClassesRoot, ".tr2", ""), "Machine.Tr2");
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.tr4", nullptr, REG_SZ, L"Machine.Tr4",
                  sizeof(L"Machine.Tr4"));
  EXPECT_EQ(registry_.GetString(kHKeyClassesRoot, ".tr4", ""), "TR4 Level");
}

TEST_F(Win32RegistryTest, StartUpPointsEveryVerbAtTheProgramAndFollowsAMove) {
  RecordingSink sink;
  // Another program registered ".tr2" for the whole machine: its class keeps its name and
  // gets the verb, for this user.
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.tr2", nullptr, REG_SZ, L"Machine.Tr2",
                  sizeof(L"Machine.Tr2"));
  RegistryStartUp(registry_, "C:/Old place", sink);
  RegistryStartUp(registry_, "C:/Program Files/Slabwright \xC3\x9C", sink);  // as Qt gives it
  EXPECT_TRUE(sink.Shown.empty());
  const std::wstring program = L"\"C:\\Program Files\\Slabwright \u00DC\\Slabwright2.exe\" ";
  const std::wstring classes = L"Software\\Classes\\";
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, classes + L".tr4"), L"TR4 Level");
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, classes + L"TR4 Level\\shell\\Convert To TR3\\Command"),
            program + L"/convert3 %1");
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, classes + L"TR4 Level\\shell\\Convert To TR2\\Command"),
            program + L"/convert2 %1");
  EXPECT_EQ(
      Raw(HKEY_CURRENT_USER, classes + L"TR4 Level\\shell\\View Rooms with Slabwright\\Command"),
      program + L"/view %1");
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, classes + L".trc"), L"TR5 Level");
  EXPECT_EQ(
      Raw(HKEY_CURRENT_USER, classes + L"TR5 Level\\shell\\View Rooms with Slabwright\\Command"),
      program + L"/view %1");
  EXPECT_EQ(Raw(HKEY_CURRENT_USER, classes + L".tr2"), L"(none)");
  EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, classes + L".tr2"), L"Machine.Tr2");
  EXPECT_EQ(
      Raw(HKEY_CURRENT_USER, classes + L"Machine.Tr2\\shell\\View Rooms with Slabwright\\Command"),
      program + L"/view %1");
  // The program's own keys.
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"software\\Ondravel\\Slabwright", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  if (key) RegCloseKey(key);
}

}  // namespace
}  // namespace slab
