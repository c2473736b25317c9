#pragma once
// The search for the suite's add-in inside an Office application, shared by the
// workbook, document and presentation converters. They look in three places, in
// this order, and stop at the first find:
//   1. Listed: the application's AddIns list, items 1 to Count; the first item
//      whose Name, in upper case, begins with the add-in prefix ("TABREL",
//      "SCRIV", "SLIDR");
//   2. Folder: the application's add-in folder (the value of `folderProperty`,
//      "StartupPath" or "Path", a separator added when it has none at its end);
//      the first file there whose name begins with the prefix, letter case
//      ignored (files in name order);
//   3. Registry: the default value of HKEY_CLASSES_ROOT `commandKey`
//      ("Word.AddIn\shell\open\command"), every double quote removed, cut before
//      the first `programName` ("\winword.exe", letter case ignored), then
//      `subFolder`, "\" and the add-in file name of the application's version;
//      taken only when that file exists. A command that does not hold the
//      program name raises 5 (the converters wrap it in their add-in error).
// What a converter then does with the find (open it, add it, or nothing for a
// listed one) is its own business; so is the error when nothing is found.
#include <functional>
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::office {

struct OfficeAddInSearch {
  std::string_view prefix;          // upper case: "SCRIV"
  std::string_view folderProperty;  // "StartupPath" or "Path"
  std::string_view commandKey;      // "Word.AddIn\\shell\\open\\command"
  std::string_view programName;     // "\\winword.exe"
  std::string_view subFolder;       // "\\Startup"
  // The add-in's file name for this application ("scriv8.dot"); asked only
  // when the search reaches the registry.
  std::function<std::string()> fileName;
};

enum class OfficeAddInPlace { NotFound, Listed, Folder, Registry };

struct OfficeAddIn {
  OfficeAddInPlace place = OfficeAddInPlace::NotFound;
  Ref<Dispatch> entry;  // Listed: the item of the AddIns list
  std::string path;     // Folder and Registry: the add-in file
};

// The three steps in order. Errors of the application's members are raised.
OfficeAddIn FindOfficeAddIn(Dispatch& app, const OfficeAddInSearch& search);

// The steps one by one, for converters that need them apart.
// Step 1: the listed item, or null.
Ref<Dispatch> FindListedAddIn(Dispatch& app, std::string_view prefix);
// Step 2 on a folder: folder + file name, or "" (also for "" or a missing folder).
std::string FindAddInInFolder(std::string_view folder, std::string_view prefix);
// Step 3: the path, or "" when the value is empty or the file does not exist;
// `fileName` is asked only when the value is not empty.
std::string FindAddInFromCommand(std::string_view commandKey, std::string_view programName,
                                 std::string_view subFolder,
                                 const std::function<std::string()>& fileName);

}  // namespace brevora::office
