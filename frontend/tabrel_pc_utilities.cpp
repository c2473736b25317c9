// TabrelPC: the small utilities the add-ins call: marking a file modified,
// number and palette helpers of the support library, an Excel window's title,
// temporary files and path forms.
#include <sys/stat.h>

#include <string>

#include "core/number_text.h"
#include "core/session.h"
#include "core/temp_file.h"
#include "core/text_cleanup.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/open_file.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"
#include "platform/windows/window_directory.h"
#include "support/tabrelc.h"

namespace brevora::frontend {
namespace {

constexpr const char* kMakeDirtySource = "TabrelPC.MakeDirty";

// A folder, or a file nobody may write (Windows' read-only attribute).
bool IsFolderOrReadOnly(std::string_view path) {
  struct stat st {};
  if (stat(fs::NativePath(path).c_str(), &st) != 0) return false;  // the open reports it
  return S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// A presentation keeps its modified mark in the database header; the first
// bytes of the file are its name, which a marker byte would change.
void MarkPresentation(core::Session& session, std::string_view path) {
  Ref<Dispatch> presentation = session.GetPresentation();
  CallByName(presentation, "OpenFromDisk", CallKind::Method, std::string(path), false, false);
  CallByName(presentation, "IsModified", CallKind::Let, true);
  CallByName(presentation, "UpdateHeader", CallKind::Method);
}

// What a window title can carry: control characters become blanks and the
// text is cut to the longest title a window takes.
std::string WindowTitle(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  if (text.size() > windows::kMaxNameSize) text.resize(windows::kMaxNameSize);
  return text;
}

}  // namespace

bool TabrelPC::MakeDirty(std::string_view fileName) {
  try {
    if (IsFolderOrReadOnly(fileName)) {
      RaiseError(kWrapError, kMakeDirtySource,
                 "This file is a directory or is read only.  Cannot complete operation.");
    }
    if (text::LCase(fs::ExtensionPart(fileName)) == ".pdb") {
      MarkPresentation(S(), fileName);
    } else {
      fs::OpenFile file(fileName, fs::OpenFile::Mode::ReadWrite);
      file.WriteAt(0, "1");
    }
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), kMakeDirtySource, "Could not set modified for this sheet.  ");
  }
}

double TabrelPC::ORX_BitAndEx(std::string_view a, std::string_view b) const {
  return core::BitAndDecimal(a, b);
}

void TabrelPC::tbPalmIndexToRGB(int32_t index, int32_t& red, int32_t& green, int32_t& blue) const {
  int16_t r = 0, g = 0, b = 0;
  PalmIndexToRGB(index, &r, &g, &b);
  red = r;
  green = g;
  blue = b;
}

int16_t TabrelPC::tbRBGToPalmIndex(int32_t red, int32_t green, int32_t blue) const {
  return static_cast<int16_t>(RGBToPalmIndex(red, green, blue));
}

void TabrelPC::SetTitle(int32_t hWnd, std::string_view title) {
  try {
    std::string name = core::Trim(title);
    if (name.empty()) name = "Untitled";
    const auto message = windows::WindowMessage::Title(WindowTitle("Microsoft Excel - " + name));
    if (!windows::Post(static_cast<windows::WindowHandle>(hWnd), message)) {
      RaiseError(5, "", "Invalid window handle.");
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "TabrelPC.SetTitle", "Could not set title");
  }
}

std::string TabrelPC::GetTempFile() {
  return core::GetTempFile("tbr", "TabrelPC.GetTempFile", "Could not get temp file");
}

std::string TabrelPC::LongPathToShort(std::string_view path) const {
  // Linux has no short names: a path that exists is its own short form.
  return fs::FileExists(path) || fs::FolderExists(path) ? std::string(path) : std::string();
}

}  // namespace brevora::frontend
