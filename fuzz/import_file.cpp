// Fuzzes the import of a user's file into a category (FileImporter): the first
// byte chooses the file's extension (.tbr, .scv, .txt, .pdb, .htm, .html), the
// rest is the file. The category already holds a document of the target's
// name; the user agrees to replace it. Whatever the bytes, the result is an
// import (the target replaced; a copied workbook or document then is one its
// own reader takes whole) or the import's own message with the target as it
// was: "Could not successfully add this workbook." / "... document." (a
// refusal goes on to name the file), or an error shown under " Tabulyn" for a
// presentation database. Nothing is left in the category folder but the
// target (no scratch folder), and nothing is raised.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "doc/document.h"
#include "frontend/file_import.h"
#include "frontend/tabrel_pc.h"
#include "fuzz/doc_common.h"
#include "fuzz/file_input.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"
#include "sheet/workbook.h"
#include "slides/presentation.h"

namespace brevora::fuzz {
namespace {

const char* const kExtensions[] = {".tbr", ".scv", ".txt", ".pdb", ".htm", ".html"};
constexpr const char* kPrecious = "precious old target";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The window: the type by extension (a .pdb by its creator), no questions of
// its own, the mode switch applied to the application object.
class Window : public frontend::ImportWindow {
 public:
  explicit Window(frontend::TabrelPC& app) : app_(app) {}
  int FileType(const std::string& path) override {
    const std::string ext = text::LCase(fs::ExtensionPart(path));
    if (ext == ".tbr") return frontend::kTypeTbr;
    if (ext == ".scv") return frontend::kTypeScv;
    if (ext == ".txt") return frontend::kTypeTxt;
    if (ext == ".htm" || ext == ".html") return frontend::kTypeHtml;
    if (ext == ".pdb") {
      return slides::Presentation::FileIsPresentation(path) ? frontend::kTypePresentationPdb
                                                            : frontend::kTypeDocumentPdb;
    }
    return frontend::kTypeUnknown;
  }
  void SwitchFileMode(int button) override { app_.SetFileMode(static_cast<int16_t>(button - 1)); }
  std::string CurrentCategory() override { return "Work"; }
  void SetStatusText(const std::string&) override {}
  void ShowWait(const std::string&, bool) override {}
  void HideWait(bool) override {}
  void SetEnabled(bool) override {}
  void SetBusy(bool) override {}
  std::optional<bool> PresentationOptions(const std::string&) override { return std::nullopt; }
  void RefillFiles(const std::string&, const std::string&) override {}

 private:
  frontend::TabrelPC& app_;
};

std::string Home() { return WorkFolder() + "/categories/"; }

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const auto add = [&](const std::string& name, char selector, const std::string& path) {
    seeds.push_back({name, std::string(1, selector) + ReadAll(path)});
  };
  {
    Ref<sheet::Workbook> wb = MakeRef<sheet::Workbook>();
    wb->InitFromDefaults();
    wb->WriteToDisk(scratch + "/book.tbr");
    add("book.tbr", 0, scratch + "/book.tbr");
  }
  Ref<doc::Document> story = SampleDocument(12);
  story->WriteToDisk(scratch + "/story.scv");
  add("story.scv", 1, scratch + "/story.scv");
  story->WriteToTextFile(scratch + "/story.txt");
  add("story.txt", 2, scratch + "/story.txt");
  story->WriteToPDB(scratch + "/story.pdb");
  add("story.pdb", 3, scratch + "/story.pdb");
  {
    Ref<slides::Presentation> deck = MakeRef<slides::Presentation>();
    deck->SetFileName("Empty deck");
    deck->WriteToDisk(scratch + "/deck.pdb");
    add("deck.pdb", 3, scratch + "/deck.pdb");
  }
  seeds.push_back(
      {"page.htm", "\x04<html><body><p>Caf&eacute; <b>bold</b><br>line</p></body></html>"});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace brevora;
  fuzz::MakeWorkFolder();
  std::filesystem::create_directories(fuzz::Home() + "Work");
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                     registry::Value::String(fuzz::Home()));
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                     registry::Value::DWord(1));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  if (size == 0) return 0;
  const std::string extension = kExtensions[data[0] % std::size(kExtensions)];
  const std::string source = WriteInput("input" + extension, data + 1, size - 1);

  const Ref<frontend::TabrelPC> app = MakeRef<frontend::TabrelPC>();
  Window window(*app);
  const int type = window.FileType(source);
  const int mode = frontend::FileModeOfType(type);
  const std::string folder = Home() + "Work";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string target = folder + "/input." + (mode == 0 ? "tbr" : mode == 1 ? "scv" : "pdb");
  { std::ofstream(target, std::ios::binary) << kPrecious; }

  const auto box = std::make_shared<services::RecordingMessageBox>();
  const auto previous = services::InstallMessageBox(box);
  box->Answer(services::MsgResult::Yes);  // replace the document already there
  Must("importing a file", [&] {
    frontend::FileImporter importer(*app, window);
    importer.BringFileIn(source);
  });
  services::InstallMessageBox(previous);

  std::vector<services::Message> shown = box->shown();
  Check(!shown.empty() && shown[0].text == "This " +
                                               std::string(mode == 0 ? "workbook" : "document") +
                                               " already exists.  Do you want to overwrite it?",
        "the replace question comes first");
  shown.erase(shown.begin());
  const bool kept = ReadAll(target) == kPrecious;
  if (shown.empty()) {
    Check(!kept, "an import without a message replaced the target");
    bool readable = true;
    try {
      if (type == frontend::kTypeTbr) {
        Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
        readable = workbook->OpenFromDisk(target, true, false);
      } else if (type == frontend::kTypeScv) {
        Ref<doc::Document> document = MakeRef<doc::Document>();
        readable = document->OpenFromDisk(target, true, false);
      }
    } catch (...) {
      readable = false;
    }
    Check(readable, "an imported workbook or document that its reader refuses");
  } else {
    Check(shown.size() == 1, "one message: " + shown.back().text);
    const services::Message& m = shown[0];
    const bool failed =
        m.title == "Brevora" && (m.text.starts_with("Could not successfully add this workbook.") ||
                                 m.text.starts_with("Could not successfully add this document."));
    const bool error = m.title == " Tabulyn" && type == frontend::kTypePresentationPdb;
    Check(failed || error, "the message of a failed import: " + m.title + ": " + m.text);
    Check(kept, "a failed import left the target as it was");
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  Check(entries == 1, "nothing but the target in the category folder");
  return 0;
}
