// Messages about a file name it: under their own text when the text does not.
#include "app/file_messages.h"

#include <gtest/gtest.h>

namespace slab {
namespace {

TEST(FileMessages, AMessageThatDoesNotNameTheFileGetsItAsItsDetail) {
  RecordingSink shown;
  FileMessages messages(shown, "/levels/lake.tr4");
  messages.Show("Unknown TR version!");
  messages.Show("lake.tr4 is damaged: the rooms end early");
  // A detail of its own (what was found) stays, under the file.
  messages.ShowDetailed("Unknown TR version!", "The file starts with 54 52 39 00.");
  messages.ShowDetailed("No TR4 Level!", "lake.tr4 starts with 54 52 39 00.");
  messages.Show("No trigger found for this object!", "Slabwright2");
  EXPECT_EQ(shown.Shown,
            (std::vector<std::string>{
                "Unknown TR version!", "lake.tr4 is damaged: the rooms end early",
                "Unknown TR version!", "No TR4 Level!", "No trigger found for this object!"}));
  EXPECT_EQ(shown.Details,
            (std::vector<std::string>{"File: /levels/lake.tr4", "",
                                      "File: /levels/lake.tr4\nThe file starts with 54 52 39 00.",
                                      "lake.tr4 starts with 54 52 39 00.", ""}));

  FileMessages noFile(shown, "");
  noFile.Show("Unknown TR version!");
  EXPECT_EQ(shown.Details.back(), "");

  shown.NextAnswer = Answer::No;
  EXPECT_EQ(messages.AskDiscard("Discard?"), Answer::No);
  EXPECT_EQ(shown.Asked, std::vector<std::string>{"Discard?"});
}

}  // namespace
}  // namespace slab
