// The category and file lists of a home folder: what is listed, in which
// order, with which columns; damaged and foreign files; file types.
#include "frontend/category_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/module_state.h"
#include "core/users_test_support.h"
#include "frontend/window_test_home.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using test::WriteDocument;
using test::WritePresentation;
using test::WriteWorkbook;

std::vector<std::string> Names(const std::vector<DocumentRow>& rows) {
  std::vector<std::string> names;
  for (const DocumentRow& row : rows) names.push_back(row.name);
  return names;
}

TEST(FileSizeText, BytesThenWholeKilobytesHalvesToEven) {
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "0"},       {1023, "1023"}, {1024, "1 KB"}, {1535, "1 KB"},      {1536, "2 KB"},
      {2560, "2 KB"}, {2561, "3 KB"}, {3584, "4 KB"}, {1048576, "1024 KB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FileSizeText(bytes), text) << bytes;
}

TEST(GetFileType, ByExtensionAndForDatabasesByCreator) {
  const std::string folder = testing::MakeTempDir("types");
  WritePresentation(folder + "/deck.pdb");
  fs::AtomicWrite(folder + "/notes.pdb", std::string(100, '\0'));  // no presentation
  fs::AtomicWrite(folder + "/short.PDB", std::string_view("x"));
  const std::pair<std::string, int16_t> cases[] = {{"a.xls", 1},
                                                   {"a.TBR", 2},
                                                   {"a.doc", 3},
                                                   {"a.scv", 4},
                                                   {"a.txt", 5},
                                                   {folder + "/notes.pdb", 6},
                                                   {folder + "/short.PDB", 6},
                                                   {folder + "/missing.pdb", 6},
                                                   {"a.htm", 7},
                                                   {"a.HTML", 7},
                                                   {"a.ppt", 8},
                                                   {folder + "/deck.pdb", 9},
                                                   {"a.rtf", 0},
                                                   {"noextension", 0},
                                                   {"a.", 0},
                                                   {"", 0}};
  for (const auto& [path, code] : cases) EXPECT_EQ(GetFileType(path), code) << path;
}

class Listing : public ::testing::Test {
 protected:
  void SetUp() override { core::EnsureModuleStarted(); }
  Ref<core::Session> session_ = MakeRef<core::Session>();
  std::string home_ = testing::MakeTempDir("home") + "/";
  DocumentLister lister_;
};

TEST_F(Listing, CategoriesAreTheVisibleSubFoldersInListingOrder) {
  for (const char* folder : {"Unfiled", "business", "Archive", ".hidden"})
    fs::MakeFolder(home_ + folder);
  fs::AtomicWrite(home_ + "Loose.tbr", std::string_view("2"));
  EXPECT_EQ(ListCategories(home_), (std::vector<std::string>{"Archive", "business", "Unfiled"}));
  EXPECT_TRUE(ListCategories(testing::MakeTempDir("empty")).empty());
}

TEST_F(Listing, WorkbooksWithSizesLinksAndDamagedOnes) {
  const std::string folder = home_ + "Business";
  fs::MakeFolder(folder);
  WriteWorkbook(folder + "/Plain.tbr");
  WriteWorkbook(folder + "/Linked.TBR", "/office/Linked.xls");
  fs::AtomicWrite(folder + "/Damaged.tbr", std::string(1536, 'z'));
  fs::AtomicWrite(folder + "/.Hidden.tbr", std::string_view("2"));
  fs::AtomicWrite(folder + "/Other.scv", std::string_view("2"));
  fs::MakeFolder(folder + "/Folder.tbr");

  const std::vector<DocumentRow> rows = lister_.List(session_, home_, "Business", 0, true);
  ASSERT_EQ(Names(rows), (std::vector<std::string>{"Damaged", "Linked", "Plain"}));
  // One damaged file is listed without its link columns; the rest are read.
  EXPECT_EQ(rows[0], (DocumentRow{"Damaged", "Business", "2 KB", "", "", 1}));
  EXPECT_EQ(rows[1].link, "/office/Linked.xls");
  EXPECT_EQ(rows[1].syncMethod, "Synchronize");
  EXPECT_EQ(rows[1].icon, 4);
  EXPECT_EQ(rows[2].link, "");
  EXPECT_EQ(rows[2].syncMethod, "");
  EXPECT_EQ(rows[2].icon, 1);
  EXPECT_EQ(rows[2].size, FileSizeText(fs::FileSize(folder + "/Plain.tbr")));

  // The dialogs list names only.
  const std::vector<DocumentRow> names = lister_.List(session_, home_, "Business", 0, false);
  EXPECT_EQ(names[1], (DocumentRow{"Linked", "", "", "", "", 0}));
}

TEST_F(Listing, DocumentsAndPresentationsOfTheirMode) {
  const std::string folder = home_ + "Unfiled";
  fs::MakeFolder(folder);
  WriteDocument(folder + "/Memo.scv", "/office/Memo.doc");
  WritePresentation(folder + "/Deck.pdb", "/office/Deck.ppt");
  WritePresentation(folder + "/Plain.pdb");
  fs::AtomicWrite(folder + "/Foreign.pdb", std::string(200, '\0'));  // another creator: not listed

  const std::vector<DocumentRow> documents = lister_.List(session_, home_, "Unfiled", 1, true);
  ASSERT_EQ(Names(documents), std::vector<std::string>{"Memo"});
  EXPECT_EQ(documents[0].link, "/office/Memo.doc");
  EXPECT_EQ(documents[0].icon, 3);

  const std::vector<DocumentRow> decks = lister_.List(session_, home_, "Unfiled", 2, true);
  ASSERT_EQ(Names(decks), (std::vector<std::string>{"Deck", "Plain"}));
  EXPECT_EQ(decks[0].link, "/office/Deck.ppt");
  EXPECT_EQ(decks[0].syncMethod, "Synchronize");
  EXPECT_EQ(decks[0].icon, 6);
  EXPECT_EQ(decks[1].icon, 5);
  EXPECT_EQ(Names(lister_.List(session_, home_, "Unfiled", 2, false)),
            (std::vector<std::string>{"Deck", "Plain"}));
}

TEST_F(Listing, NamesTheCodePageCantHoldAreLeftOutAndLogged) {
  core::test::RecordedEventLog log;
  fs::MakeFolder(home_ + "Unfiled");
  // Names in characters the code page lacks, made as native paths.
  std::filesystem::create_directory(fs::NativePath(home_) + "\xE4\xB8\xAD\xE6\x96\x87");
  WriteWorkbook(home_ + "Unfiled/Kept.tbr");
  std::ofstream(fs::NativePath(home_) + "Unfiled/\xE4\xB8\xAD.tbr") << "2";
  EXPECT_EQ(ListCategories(home_), std::vector<std::string>{"Unfiled"});
  EXPECT_EQ(Names(lister_.List(session_, home_, "Unfiled", 0, true)),
            std::vector<std::string>{"Kept"});
  ASSERT_EQ(log.entries().size(), 2u);
  EXPECT_NE(log.entries()[1].find("'?.tbr'"), std::string::npos);
}

TEST_F(Listing, AMissingCategoryFolderRaisesTheFileError) {
  EXPECT_THROW(lister_.List(session_, home_, "Gone", 0, true), AutomationError);
}

}  // namespace
}  // namespace brevora::frontend
