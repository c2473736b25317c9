#pragma once
// The example a first run of brevora installs, so that a new user sees the
// window with users, categories and files on a machine that has neither Palm
// Desktop nor the phone suite: the three products marked installed, a HotSync
// root <DataDir>/hotsync (registered as Palm Desktop's "Core" "Path") with user
// 1 "Example", and in each file mode the categories "Unfiled" and "Business"
// with a file each, written by the project's own writers.
//
// The folder is built beside its place under a temporary name and renamed in
// only when complete; a failed set-up leaves nothing behind, and one killed
// midway leaves a staging folder that the next set-up removes. A desktop that
// has Palm Desktop or the phone suite is never touched.
//
// The file names are unique across the suite (every file becomes a handheld
// database of its name, and a handheld holds one database of a name): the
// workbook, document and presentation of "Unfiled" are kWelcomeNames, those of
// "Business" "Budget", "Meeting Notes" and "Quarterly Review".
#include <optional>
#include <string>

namespace brevora::frontend::program {

inline constexpr const char* kWelcomeNames[3] = {"Welcome Workbook", "Welcome Document",
                                                 "Welcome Slides"};

// The set-up of a program's start: under the lock of the data folder (two
// programs started at once set up one example), removes what a set-up killed
// midway left, then installs the example when NeedsExample(). The HotSync root
// when it was installed now, nothing when it was not needed. Errors raise.
std::optional<std::string> InstallExampleIfNeeded();

// True when neither Palm Desktop's keys nor the phone suite's are there.
bool NeedsExample();

// Installs the example (see above) and returns the HotSync root (system path).
// A HotSync root folder that exists already is kept as it is and registered.
// Errors raise (nothing is registered then).
std::string InstallExample();

}  // namespace brevora::frontend::program
