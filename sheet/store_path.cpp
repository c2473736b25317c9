#include "sheet/store_path.h"

#include "core/application.h"
#include "core/file_mode.h"
#include "core/session.h"
#include "core/text_cleanup.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::sheet {

namespace {

// A category or workbook name that names exactly one entry of its folder.
void CheckStoreName(std::string_view what, std::string_view name, const std::string& source) {
  if (!fs::IsPlainName(name)) {
    RaiseError(
        kWrapError, source,
        "The " + std::string(what) + " name '" + std::string(name) +
            "' cannot be used: it is empty or holds a separator, '..' or a control character.");
  }
}

}  // namespace

StorePlace StoreFilePlace(core::Application& app, std::string_view user, std::string_view category,
                          std::string_view name, const std::string& source) {
  app.SetFileMode(core::kTabulynMode);
  if (!app.Session()) RaiseRuntimeError(91);
  if (!user.empty()) {
    app.SetCurrentUser(user);
    if (!text::EqualsNoCase(app.Session()->UserName(), core::Trim(user))) {
      RaiseError(kWrapError, source,
                 "There is no handheld user named '" + std::string(user) + "'.");
    }
  }
  CheckStoreName("category", category, source);
  CheckStoreName("workbook", name, source);
  StorePlace place;
  place.folder = app.HomeDirectory() + std::string(category);
  place.file = place.folder + "\\" +
               core::AddFileModeExtension(name, static_cast<int16_t>(app.Session()->FileMode()));
  return place;
}

}  // namespace brevora::sheet
