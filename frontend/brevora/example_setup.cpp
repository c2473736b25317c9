#include "frontend/brevora/example_setup.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "core/module_state.h"
#include "doc/document.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/folder_lock.h"
#include "platform/fs/paths.h"
#include "platform/fs/temp_folder.h"
#include "platform/registry/registry.h"
#include "sheet/workbook.h"
#include "slides/presentation.h"

namespace brevora::frontend::program {
namespace {

using registry::Hive;

constexpr const char* kPalmKeys[] = {"Software\\U.S. Robotics\\Pilot Desktop",
                                     "Software\\Palm Computing\\Pilot Desktop"};
constexpr const char* kPhoneSuiteKey = "Software\\Nokia";
constexpr const char* kUserFolder = "Example";

void WriteWorkbook(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& rows) {
  Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
  workbook->InitFromDefaults();
  sheet::CellCollection& cells = workbook->Sheets().Item(1).Cells();
  int32_t row = 1;
  for (const auto& [label, value] : rows) {
    sheet::Cell& name = cells.Add(row, 1);
    name.SetValue(label);
    name.SetFormatRaw(0x400041);  // text
    if (!value.empty()) {
      sheet::Cell& number = cells.Add(row, 2);
      number.SetValue(value);
      number.SetFormatRaw(0xF0000022);  // number
    }
    ++row;
  }
  workbook->WriteToDisk(path);
}

void WriteDocument(const std::string& path, const std::string& title, const std::string& text) {
  Ref<doc::Document> document = MakeRef<doc::Document>();
  document->InitFromDefaults();
  document->SetDocName(title);
  document->SetBlocks({text});
  document->WriteToDisk(path);
}

// A slide picture of the presentation size, and its thumbnail: a title band
// and a few bars (drawn shapes only: the set-up runs before any window and
// has no fonts). The slide's title travels in its outline.
void WriteSlidePictures(const std::string& folder, int number, QColor colour, std::string& picture,
                        std::string& thumbnail) {
  QImage image(320, 240, QImage::Format_RGB32);
  image.fill(colour);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRoundedRect(QRectF(20, 18, 280, 36), 6, 6);
    const int heights[] = {60, 95, 75, 130};
    for (int i = 0; i < 4; ++i) {
      painter.setBrush(QColor(255, 255, 255, 150 + 25 * i));
      painter.drawRect(
          QRectF(40 + i * 62, 220 - heights[(i + number) % 4], 40, heights[(i + number) % 4]));
    }
  }
  const std::string base = folder + "/slide" + std::to_string(number);
  picture = base + ".png";
  thumbnail = base + "t.png";
  if (!image.save(QString::fromStdString(picture), "PNG") ||
      !image.scaled(80, 60, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
           .save(QString::fromStdString(thumbnail), "PNG")) {
    RaiseError(75, "InstallExample", "Could not write the example's slide pictures.");
  }
}

// The two slides' pictures (and thumbnails) in `pictures`, one per slide number.
void WriteSlidePictures(const std::string& pictures) {
  const QColor colours[] = {QColor(0x2E, 0x5E, 0x8C), QColor(0x3C, 0x7A, 0x4A)};
  for (int n = 1; n <= 2; ++n) {
    std::string picture, thumbnail;
    WriteSlidePictures(pictures, n, colours[n - 1], picture, thumbnail);
  }
}

void WritePresentation(const std::string& path, const std::string& name,
                       const std::string& pictures, const std::string (&titles)[2]) {
  Ref<slides::Presentation> presentation = MakeRef<slides::Presentation>();
  presentation->InitFromDefaults();
  presentation->SetFileName(name);
  for (int16_t n = 1; n <= 2; ++n) {
    const std::string base = pictures + "/slide" + std::to_string(n);
    const Ref<slides::Slide> slide =
        presentation->Slides()->Add(n, 1, fs::SystemPath(base + ".png"));
    slide->AddThumbnail(fs::SystemPath(base + "t.png"), 1);
    slide->Outlines()->Add(0, 0, 0, 0, titles[n - 1]);
  }
  presentation->WriteToDisk(path);
}

// The example user's folder with its categories and files.
void WriteUserFolder(const std::string& user, const std::string& pictures) {
  auto category = [&](const char* mode, const char* name) {
    const std::string folder = user + "/" + mode + "/" + name;
    fs::MakeFolder(folder);
    return folder;
  };
  // Every name is unique across the suite: each file becomes a handheld
  // database of its name, and a handheld holds one database of a name.
  WriteWorkbook(category("tabrel", "Unfiled") + "/" + kWelcomeNames[0] + ".tbr",
                {{"Welcome to Brevora", ""}, {"Apples", "12"}, {"Pears", "7"}});
  WriteWorkbook(category("tabrel", "Business") + "/Budget.tbr",
                {{"Office rent", "1200"}, {"Travel", "350"}, {"Phones", "95"}});
  WriteDocument(category("scriv", "Unfiled") + "/" + kWelcomeNames[1] + ".scv", kWelcomeNames[1],
                "Welcome to Brevora.\r\nThis document lives in the Unfiled category.");
  WriteDocument(category("scriv", "Business") + "/Meeting Notes.scv", "Meeting Notes",
                "Meeting notes\r\n- Budget agreed\r\n- Next meeting on Monday");
  const std::string welcome[2] = {"Welcome to Brevora", "Slides travel to the handheld"};
  WritePresentation(category("slidr", "Unfiled") + "/" + kWelcomeNames[2] + ".pdb",
                    kWelcomeNames[2], pictures, welcome);
  const std::string review[2] = {"Quarterly Review", "Results and next steps"};
  WritePresentation(category("slidr", "Business") + "/Quarterly Review.pdb", "Quarterly Review",
                    pictures, review);
}

// Runs `body` on a thread of its own and waits for it: the document writers
// start the module on their thread, and the caller's thread must start its
// own (and read its users) only after the example is in place.
void OnOwnThread(const std::function<void()>& body) {
  std::exception_ptr error;
  std::thread worker([&] {
    try {
      core::EnsureModuleStarted();
      body();
    } catch (...) {
      error = std::current_exception();
    }
  });
  worker.join();
  if (error) std::rethrow_exception(error);
}

// The set-up's staging folders in the data folder: "hotsync.new-XXXXXX".
fs::TempFolder::Options Staging(const std::string& data) {
  return {.where = data, .prefix = "hotsync.new-"};
}

// Builds the example beside `root` under a temporary name, then renames it in
// (system paths). A failure removes the staging folder.
void MakeExampleFolder(const std::string& data, const std::string& root) {
  fs::TempFolder staging(Staging(data));
  const std::string pictures = staging.Path() + "pictures";
  fs::MakeFolder(pictures);
  WriteSlidePictures(fs::NativePath(pictures));  // Qt's drawing stays on the program's thread
  OnOwnThread([&] { WriteUserFolder(staging.Path() + kUserFolder, fs::NativePath(pictures)); });
  std::filesystem::remove_all(fs::NativePath(pictures));
  fs::AtomicWrite(staging.Path() + "users.txt", std::string("1\tExample\t") + kUserFolder + "\n");
  fs::RenameNoReplace(staging.Path(), root);
  staging.Keep();
}

}  // namespace

bool NeedsExample() {
  for (const char* key : kPalmKeys) {
    if (registry::KeyExists(Hive::CurrentUser, key)) return false;
  }
  return !registry::KeyExists(Hive::CurrentUser, kPhoneSuiteKey);
}

std::optional<std::string> InstallExampleIfNeeded() {
  const std::string data = fs::DataDir();
  const fs::FolderLock lock(data);
  fs::TempFolder::RemoveLeftovers(Staging(data));
  if (!NeedsExample()) return std::nullopt;
  return InstallExample();
}

std::string InstallExample() {
  const std::string data = fs::DataDir();
  const std::string root = fs::JoinPath(data, "hotsync");
  if (!std::filesystem::exists(fs::NativePath(root))) MakeExampleFolder(data, root);
  for (const char* product : {"Tabulyn", "Scrivane", "Slidora"}) {
    registry::SetValue(Hive::CurrentUser, std::string("Software\\Orvanex\\") + product, "Version",
                       registry::Value::String("1.0"));
  }
  registry::SetValue(Hive::CurrentUser, std::string(kPalmKeys[1]) + "\\Core", "Path",
                     registry::Value::String(root));
  return root;
}

}  // namespace brevora::frontend::program
