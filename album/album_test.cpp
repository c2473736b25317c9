// The album's entries, numbers, keys and current entry through the operations
// of the window's handlers.
#include "album/album.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error/error.h"

namespace brevora::album {
namespace {

struct Seen {
  std::string path;
  std::string title;
  int number;
  int id;
  bool operator==(const Seen&) const = default;
};

std::vector<Seen> EntriesOf(const Album& album) {
  std::vector<Seen> seen;
  for (const SlideNode& e : album.Entries())
    seen.push_back({e.fullPath, e.title, e.slideNumber, e.uniqueId});
  return seen;
}

Album WithPictures(int n) {
  Album album;
  for (int i = 1; i <= n; ++i) album.AddImage("/pics/p" + std::to_string(i) + ".png");
  return album;
}

TEST(Album, AddingGivesTitlesNumbersAndKeysInOrder) {
  Album album = WithPictures(3);
  EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/p1.png", "Slide #1", 1, 0},
                                                 {"/pics/p2.png", "Slide #2", 2, 1},
                                                 {"/pics/p3.png", "Slide #3", 3, 2}}));
  EXPECT_EQ(album.Current(), -1);
  EXPECT_EQ(album.CurrentNode(), nullptr);
  album.Select(1);
  album.AddImage("/pics/p4.png");
  EXPECT_EQ(album.Current(), 1) << "adding leaves the current entry alone";
  EXPECT_EQ(album.NextId(), 4);
}

TEST(Album, PickingNumberOneForTheThirdSwapsWithTheFirst) {
  Album album = WithPictures(3);
  album.Select(2);
  album.MoveCurrentTo(1);
  EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/p3.png", "Slide #3", 1, 2},
                                                 {"/pics/p2.png", "Slide #2", 2, 1},
                                                 {"/pics/p1.png", "Slide #1", 3, 0}}));
  // The moved entry stays the one being edited, on its new line.
  EXPECT_EQ(album.Current(), 0);
  EXPECT_EQ(album.CurrentNode()->fullPath, "/pics/p3.png");
}

TEST(Album, DeletingTwoOfFourRenumbersTheRest) {
  Album album = WithPictures(4);
  album.Select(1);
  album.DeleteCurrentEntry();
  EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/p1.png", "Slide #1", 1, 0},
                                                 {"/pics/p3.png", "Slide #3", 2, 2},
                                                 {"/pics/p4.png", "Slide #4", 3, 3}}));
  EXPECT_EQ(album.Current(), 0) << "the line before the deleted one";
}

TEST(Album, CurrentAfterDeletingIsTheLineThenSelected) {
  struct Case {
    int count;
    int deleted;
    int current;
    const char* currentPath;
  };
  const Case cases[] = {
      {3, 2, 1, "/pics/p2.png"},  // the line before
      {3, 0, 0, "/pics/p2.png"},  // the first deleted: the new first line
      {1, 0, -1, nullptr},        // the last entry gone: none
  };
  for (const Case& c : cases) {
    Album album = WithPictures(c.count);
    album.Select(c.deleted);
    album.DeleteCurrentEntry();
    EXPECT_EQ(album.Current(), c.current) << c.count << " " << c.deleted;
    if (c.currentPath) {
      ASSERT_NE(album.CurrentNode(), nullptr);
      EXPECT_EQ(album.CurrentNode()->fullPath, c.currentPath);
    } else {
      EXPECT_EQ(album.CurrentNode(), nullptr);
    }
  }
}

TEST(Album, TitleEditsLandOnTheEntryBeingEdited) {
  // After a move: the moved entry keeps the edits.
  {
    Album album = WithPictures(3);
    album.Select(0);
    album.MoveCurrentTo(3);
    album.SetCurrentTitle("Harbour at dusk");
    EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/p3.png", "Slide #3", 1, 2},
                                                   {"/pics/p2.png", "Slide #2", 2, 1},
                                                   {"/pics/p1.png", "Harbour at dusk", 3, 0}}));
  }
  // After deleting line 1: the edits go to the entry now shown first.
  {
    Album album = WithPictures(3);
    album.Select(0);
    album.DeleteCurrentEntry();
    album.SetCurrentTitle("Beach");
    EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/p2.png", "Beach", 1, 1},
                                                   {"/pics/p3.png", "Slide #3", 2, 2}}));
  }
}

TEST(Album, WithoutCurrentEntryEditsChangeNothing) {
  Album album = WithPictures(3);
  const auto before = EntriesOf(album);
  album.SetCurrentTitle("lost");
  album.MoveCurrentTo(1);
  album.DeleteCurrentEntry();
  EXPECT_EQ(EntriesOf(album), before);
  // Numbers outside 1..n are not offered; a stray one changes nothing.
  album.Select(1);
  album.MoveCurrentTo(0);
  album.MoveCurrentTo(4);
  EXPECT_EQ(EntriesOf(album), before);
  album.Select(7);
  EXPECT_EQ(album.Current(), -1);
}

TEST(Album, NewThenAddStartsNumbersAgainButNotKeys) {
  Album album = WithPictures(3);
  album.Select(2);
  album.ClearAlbum();
  EXPECT_TRUE(album.Entries().empty());
  EXPECT_EQ(album.Current(), -1);
  album.AddImage("/pics/new.png");
  EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/pics/new.png", "Slide #1", 1, 3}}));
}

TEST(Album, ReplacingNumbersInGivenOrderAndSelectsTheFirst) {
  Album album = WithPictures(2);
  album.ReplaceWith({{"/tmp/a/image1.png", "Harbour"}, {"/tmp/a/image2.png", "Beach"}});
  EXPECT_EQ(EntriesOf(album), (std::vector<Seen>{{"/tmp/a/image1.png", "Harbour", 1, 2},
                                                 {"/tmp/a/image2.png", "Beach", 2, 3}}));
  EXPECT_EQ(album.Current(), 0);
  album.ReplaceWith({});
  EXPECT_TRUE(album.Entries().empty());
  EXPECT_EQ(album.Current(), -1);
}

TEST(Album, KeysAreNeverReused) {
  // The 16-bit counter runs out after 32767 keys: further adds raise 6 and
  // change nothing, rather than hand out a key again.
  Album album;
  for (int i = 0; i < 32767; ++i) {
    album.AddImage("p");
    album.Select(0);
    album.DeleteCurrentEntry();
  }
  EXPECT_EQ(album.NextId(), 32767);
  try {
    album.AddImage("late.png");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
  }
  EXPECT_TRUE(album.Entries().empty());
  EXPECT_THROW(album.ReplaceWith({{"x.png", "x"}}), AutomationError);
}

}  // namespace
}  // namespace brevora::album
