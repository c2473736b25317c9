#include "frontend/module_classes.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "core/device_user.h"
#include "core/ext_pdb.h"
#include "core/nokia_desktop.h"
#include "core/palm_desktop.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "doc/document.h"
#include "doc/document_block.h"
#include "doc/sdk_document.h"
#include "frontend/tabrel_pc.h"
#include "sheet/cell_format.h"
#include "sheet/sdk.h"
#include "sheet/workbook.h"
#include "slides/annotation.h"
#include "slides/outline.h"
#include "slides/presentation.h"
#include "slides/sdk_presentation.h"
#include "slides/slide.h"
#include "slides/slides.h"
#include "slides/slidr_options.h"
#include "slides/thumbnail.h"

namespace brevora::frontend {
namespace {

template <class T>
ModuleClass Of() {
  return {T::kProgId, T::kClsid};
}

}  // namespace

const std::vector<ModuleClass>& ModuleClasses() {
  static const std::vector<ModuleClass> classes = {
      Of<TabrelPC>(),
      Of<core::Session>(),
      Of<core::UserManager>(),
      Of<core::PalmDesktop>(),
      Of<core::NokiaDesktop>(),
      Of<core::DeviceUser>(),
      Of<core::ExtPDB>(),
      Of<sheet::SDK>(),
      Of<sheet::Workbook>(),
      Of<sheet::CellFormat>(),
      Of<doc::SDK_Document>(),
      Of<doc::Document>(),
      Of<doc::DocumentBlock>(),
      Of<slides::SDK_Presentation>(),
      Of<slides::Presentation>(),
      Of<slides::Slides>(),
      Of<slides::Slide>(),
      Of<slides::Outlines>(),
      Of<slides::Outline>(),
      Of<slides::Annotations>(),
      Of<slides::Annotation>(),
      Of<slides::Thumbnail>(),
      Of<slides::VantaImage>(),
      Of<slides::SlidrOptions>(),
  };
  return classes;
}

std::string ModuleLibraryFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&ModuleClasses), &info) == 0 || !info.dli_fname)
    return {};
  std::error_code error;
  const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, error);
  return error ? std::string() : file.string();
}

}  // namespace brevora::frontend
