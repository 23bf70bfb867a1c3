// Save, Save As and the finisher, through the dialog and process seams.
#include "write/save_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "level/load_level.h"
#include "tools/compose_tr45.h"
#include "support/real_levels.h"
#include "tools/compose_classic.h"
#include "write/jobs.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

class ScriptedDialog : public FileDialog {
 public:
  std::optional<FileChoice> Answer;
  FileRequest Asked;
  std::optional<FileChoice> ShowOpen(const FileRequest&) override { return Answer; }
  std::optional<FileChoice> ShowSave(const FileRequest& request) override {
    Asked = request;
    return Answer;
  }
};

// Its arguments are not checked here: the real finisher below fails on wrong ones.
class CountingRunner : public ProcessRunner {
 public:
  int Status = 0;
  int Runs = 0;
  int Run(const std::string&, const std::vector<std::string>&, const std::string&) override {
    ++Runs;
    return Status;
  }
};

class SaveTest : public test::TempFolderTest {
 protected:
  // Opens a composed level of the version as the main window would.
  Document Open(Game version, const fs::path& path) {
    std::vector<uint8_t> bytes = version == Game::TR4
                                     ? test::ComposeTR4(test::SampleTr4Draft()).Bytes
                                     : test::ComposeClassic(test::SampleDraft(version)).Bytes;
    test::WriteBytes(path, bytes);
    Document doc;
    LoadResult loaded = LoadLevel(path, sink);
    doc.GameVersion = loaded.DetectedGame.value_or(doc.GameVersion);
    EXPECT_TRUE(loaded.Loaded);
    doc.CurrentLevel = std::move(loaded.Lvl);
    doc.TextureTiles = std::move(loaded.TextureTiles);
    doc.FilePath = path.string();
    doc.FileTitle = path.filename().string();
    doc.LevelLoaded = doc.Modified = true;
    return doc;
  }

  static Level Reload(const fs::path& path) { return test::LoadFile(path)->Result.Lvl; }
  size_t FilesInDir() const {
    return size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  RecordingSink sink;
  CountingRunner runner;
};

// Saving over a longer file leaves none of its old bytes.
TEST_F(SaveTest, SaveWritesTheLevelAndClearsTheMark) {
  Document doc = Open(Game::TR2, dir_ / "a.tr2");
  auto before = ReadFile(dir_ / "a.tr2");
  test::WriteBytes(dir_ / "a.tr2", std::vector<uint8_t>(before.size() + 5000, 0xAB));
  ASSERT_TRUE(SaveCommand(doc, sink, "", runner));
  EXPECT_EQ(ReadFile(dir_ / "a.tr2"), before);
  doc.CurrentLevel.Items[0].OCB = 77;
  ASSERT_TRUE(SaveCommand(doc, sink, "", runner));
  EXPECT_EQ(sink.Shown.back(), "Project saved");
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(Reload(dir_ / "a.tr2").Items.at(0).OCB, 77);
}

TEST_F(SaveTest, AFailedSaveNamesTheFileAndKeepsTheOldOne) {
  Document doc = Open(Game::TR2, dir_ / "c.tr2");
  doc.FilePath = (dir_ / "missing-folder" / "c.tr2").string();
  EXPECT_FALSE(SaveCommand(doc, sink, "", runner));
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_NE(sink.Shown[0].find("c.tr2"), std::string::npos);
  EXPECT_TRUE(doc.Modified);

  if (::geteuid() == 0) GTEST_SKIP() << "running as root: a read-only folder cannot stop writes";
  doc.FilePath = (dir_ / "c.tr2").string();
  auto before = ReadFile(dir_ / "c.tr2");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  sink.Shown.clear();
  EXPECT_FALSE(SaveCommand(doc, sink, "", runner));
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_NE(sink.Shown[0].find("c.tr2"), std::string::npos);
  EXPECT_EQ(ReadFile(dir_ / "c.tr2"), before);
}

TEST_F(SaveTest, NothingOpenOrFifthGameIsRefused) {
  Document empty;
  EXPECT_FALSE(SaveCommand(empty, sink, "", runner));
  Document tr5;
  tr5.GameVersion = Game::TR5;
  tr5.LevelLoaded = true;
  tr5.FilePath = (dir_ / "x.trc").string();
  EXPECT_FALSE(SaveCommand(tr5, sink, "", runner));
  ScriptedDialog dialog;
  dialog.Answer = FileChoice{(dir_ / "y.trc").string(), "y.trc"};
  EXPECT_FALSE(SaveAsCommand(tr5, dialog, sink, "", runner));
  ASSERT_EQ(sink.Shown.size(), 3u);
  EXPECT_EQ(sink.Shown[2], "TR5 levels can't be saved at the moment!");
  EXPECT_TRUE(fs::is_empty(dir_));
}

// An encrypted level, whatever its game, is never written: Save and Save As say why before any
// dialog, and the writer the jobs share refuses it as well.
TEST_F(SaveTest, AnEncryptedLevelIsNeverWritten) {
  Document doc = Open(Game::TR4, dir_ / "e.tr4");
  doc.CurrentLevel.Encrypted = true;
  const auto before = ReadFile(dir_ / "e.tr4");
  ScriptedDialog dialog;
  dialog.Answer = FileChoice{(dir_ / "g.tr4").string(), "g.tr4"};
  EXPECT_FALSE(SaveCommand(doc, sink, "", runner));
  EXPECT_FALSE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_EQ(dialog.Asked.Start, "");
  EXPECT_EQ(sink.Shown, std::vector<std::string>(2, kEncryptedRefusal));
  EXPECT_EQ(LevelSaveRefusal(doc), kEncryptedRefusal);
  const SaveResult written =
      WriteLevel((dir_ / "g.tr4").string(), doc.CurrentLevel, Game::TR4, "g.tr4", "", runner);
  EXPECT_EQ(written.Reason(), kEncryptedRefusal);
  EXPECT_EQ(runner.Runs, 0);
  EXPECT_EQ(ReadFile(dir_ / "e.tr4"), before);
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SaveTest, SaveAsTakesTheNewNameOrChangesNothingWhenCancelled) {
  Document doc = Open(Game::TR2, dir_ / "e.tr2");
  ScriptedDialog dialog;  // no answer: cancelled
  EXPECT_FALSE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_TRUE(sink.Shown.empty());
  // The dialog proposes the file open, among the files of its kind.
  EXPECT_EQ(dialog.Asked.Start, (dir_ / "e.tr2").string());
  EXPECT_EQ(dialog.Asked.Filter, kSaveFilter);
  Document first = Open(Game::TR1, dir_ / "e.phd");
  EXPECT_FALSE(SaveAsCommand(first, dialog, sink, "", runner));
  EXPECT_NE(dialog.Asked.Filter.find("*.phd"), std::string::npos) << dialog.Asked.Filter;
  fs::remove(dir_ / "e.phd");
  EXPECT_EQ(FilesInDir(), 1u);
  dialog.Answer = FileChoice{(dir_ / "f.tr2").string(), "f.tr2"};
  ASSERT_TRUE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_EQ(std::tie(doc.FilePath, doc.FileTitle),
            std::make_tuple((dir_ / "f.tr2").string(), std::string("f.tr2")));
  EXPECT_EQ(ReadFile(dir_ / "f.tr2"), ReadFile(dir_ / "e.tr2"));
}

TEST_F(SaveTest, FinisherFailureIsReportedAndTheLevelKept) {
  Document doc = Open(Game::TR4, dir_ / "g.tr4");
  auto before = ReadFile(dir_ / "g.tr4");
  runner.Status = 3;
  EXPECT_FALSE(SaveCommand(doc, sink, "/opt/slab", runner));
  EXPECT_EQ(runner.Runs, 1);
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_NE(sink.Shown[0].find("g.tr4"), std::string::npos);
  EXPECT_EQ(ReadFile(dir_ / "g.tr4"), before);
  EXPECT_EQ(FilesInDir(), 1u);

  runner.Status = -1;  // not started: the message says where it was looked for
  EXPECT_FALSE(SaveCommand(doc, sink, "/opt/slab/bin", runner));
  EXPECT_NE(sink.Shown.back().find("the finisher RKV was not found (looked in /opt/slab/bin"),
            std::string::npos)
      << sink.Shown.back();
}

// A read-only level is not saved over, and Save As gets the edit out under a new name.
TEST_F(SaveTest, AReadOnlyLevelStaysModifiedAndSaveAsIsTheWayOut) {
  Document doc = Open(Game::TR2, dir_ / "locked.tr2");
  const auto before = ReadFile(dir_ / "locked.tr2");
  fs::permissions(dir_ / "locked.tr2", fs::perms(0444));
  doc.CurrentLevel.Items[0].OCB = 77;
  EXPECT_FALSE(SaveCommand(doc, sink, "", runner));
  ASSERT_EQ(sink.Shown.size(), 1u);
  EXPECT_EQ(sink.Shown[0], "locked.tr2 could not be saved: it is read-only.");
  EXPECT_EQ(sink.Details[0], "Save As saves the level under another name.");
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(ReadFile(dir_ / "locked.tr2"), before);

  ScriptedDialog dialog;
  dialog.Answer = FileChoice{(dir_ / "locked.tr2").string(), "locked.tr2"};
  EXPECT_FALSE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_EQ(sink.Shown.back(), "locked.tr2 could not be saved: it is read-only.");
  dialog.Answer = FileChoice{(dir_ / "mine").string(), "mine"};
  ASSERT_TRUE(SaveAsCommand(doc, dialog, sink, "", runner)) << sink.Shown.back();
  EXPECT_EQ(std::tie(doc.FilePath, doc.FileTitle),
            std::make_tuple((dir_ / "mine.tr2").string(), std::string("mine.tr2")));
  EXPECT_EQ(Reload(dir_ / "mine.tr2").Items.at(0).OCB, 77);
  EXPECT_FALSE(doc.Modified);
}

// Open and the previous/next keys find level files by their extension.
TEST_F(SaveTest, SaveAsWithoutAnExtensionAddsTheLevelsOwn) {
  ScriptedDialog dialog;
  const struct {
    Game Version;
    const char* Typed;
    const char* Saved;
  } cases[] = {{Game::TR1, "one", "one.phd"},
               {Game::TR2, "two.", "two.tr2"},
               {Game::TR3, "three", "three.tr2"},
               {Game::TR4, "four", "four.tr4"},
               {Game::TR2, "kept.trc", "kept.trc"}};  // a chosen extension stays
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    Document doc = Open(c.Version, dir_ / ("source" + std::to_string(GameNumber(c.Version))));
    dialog.Answer = FileChoice{(dir_ / c.Typed).string(), c.Typed};
    ASSERT_TRUE(SaveAsCommand(doc, dialog, sink, "", runner)) << sink.Shown.back();
    EXPECT_EQ(doc.FilePath, (dir_ / c.Saved).string());
    EXPECT_EQ(doc.FileTitle, c.Saved);
    EXPECT_TRUE(fs::exists(dir_ / c.Saved));
  }

  // The dialog asked about "two", not "two.tr2": replacing that is asked here.
  Document doc = Open(Game::TR2, dir_ / "again.tr2");
  doc.CurrentLevel.Items[0].OCB = 9;
  const auto before = ReadFile(dir_ / "two.tr2");
  dialog.Answer = FileChoice{(dir_ / "two").string(), "two"};
  EXPECT_FALSE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_EQ(sink.Asked.back(), "two.tr2 already exists. Replace it?");
  EXPECT_EQ(ReadFile(dir_ / "two.tr2"), before);
  EXPECT_EQ(doc.FilePath, (dir_ / "again.tr2").string());
  sink.NextAnswer = Answer::Yes;
  ASSERT_TRUE(SaveAsCommand(doc, dialog, sink, "", runner));
  EXPECT_EQ(Reload(dir_ / "two.tr2").Items.at(0).OCB, 9);
}

// The finished level reaches the link's target with the target's mode; no work file stays.
TEST_F(SaveTest, AFourthGameSaveThroughALinkFinishesTheTarget) {
  fs::create_directories(dir_ / "real");
  Document doc = Open(Game::TR4, dir_ / "real" / "h.tr4");
  fs::permissions(dir_ / "real" / "h.tr4", fs::perms(0640));
  fs::create_symlink("real/h.tr4", dir_ / "link.tr4");
  doc.FilePath = (dir_ / "link.tr4").string();
  doc.FileTitle = "link.tr4";
  doc.CurrentLevel.Items[0].OCB = 12;
  SystemProcessRunner real;
  ASSERT_TRUE(SaveCommand(doc, sink, SLAB_FINISHER_DIR, real)) << sink.Shown.back();
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.tr4"));
  EXPECT_EQ(Reload(dir_ / "real" / "h.tr4").Items.at(0).OCB, 12);
  EXPECT_EQ(fs::status(dir_ / "real" / "h.tr4").permissions(), fs::perms(0640));
  EXPECT_EQ(size_t(std::distance(fs::directory_iterator(dir_ / "real"), fs::directory_iterator())),
            1u);

  fs::permissions(dir_ / "real" / "h.tr4", fs::perms(0444));
  EXPECT_FALSE(SaveCommand(doc, sink, SLAB_FINISHER_DIR, runner));
  EXPECT_EQ(runner.Runs, 0);  // refused before anything was finished
  EXPECT_EQ(sink.Shown.back(), "link.tr4 could not be saved: it is read-only.");
}

TEST_F(SaveTest, AddDemoRewritesAndLeavesRefusedFilesAlone) {
  auto composed = test::ComposeClassic(test::SampleDraft(Game::TR2));
  test::WriteBytes(dir_ / "i.tr2", composed.Bytes);
  EXPECT_TRUE(AddDemoJob((dir_ / "i.tr2").string(), sink, "", runner));
  EXPECT_EQ(ReadFile(dir_ / "i.tr2"), composed.Bytes);

  std::vector<uint8_t> junk(100, 7);
  test::WriteBytes(dir_ / "j.tr2", junk);
  EXPECT_FALSE(AddDemoJob((dir_ / "j.tr2").string(), sink, "", runner));
  EXPECT_EQ(ReadFile(dir_ / "j.tr2"), junk);
}

}  // namespace
}  // namespace slab
