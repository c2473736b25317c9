#pragma once
// StorePlace: where a workbook of a user's file store lies, as the workbook
// (OpenFromUser, WriteToUser) and the converter (RemoveFromUser) name it:
// <home><category>\<name>.tbr of that user.
#include <string>
#include <string_view>

namespace brevora::core {
class Application;
}

namespace brevora::sheet {

struct StorePlace {
  std::string folder;  // <home><category>
  std::string file;    // folder + "\" + name with ".tbr"
};

// Sets the application object's file mode to 0 (workbooks) first, so the name
// always gets ".tbr", and selects `user` when it is not empty. Refuses, with
// 32760 and `source`, a user that is not there (the file would be another
// user's) and category or workbook names that are not plain (fs::IsPlainName:
// the file would lie outside its folder). Passes
// on the errors of the home folder. Creates nothing.
StorePlace StoreFilePlace(core::Application& app, std::string_view user, std::string_view category,
                          std::string_view name, const std::string& source);

}  // namespace brevora::sheet
