#pragma once
// The link of a desktop file (workbook, document, presentation) to its Office
// file, as the three link steps check it: whether the linked file is there and
// newer than the time stored with the link. The steps run whenever the caller
// asks, whatever the link's sync method; the conversions stay with each step.
#include <string>

namespace brevora::office {

// A date (days since 1899-12-30, the fraction the time of day) as seconds:
// date * 86400, the one conversion of a date into the seconds stored as a
// linked Office file's modification time. A result that is not finite raises
// 6 "Overflow".
double DaysToSeconds(double date);

// Whether `path` names an existing regular file, by its exact name (the name
// the modification time is then read from); an error of the check, such as a
// name the file system cannot hold, counts as missing.
bool LinkedFileExists(const std::string& path);

// The linked file's modification time in seconds (DaysToSeconds of its date);
// raises the file system's error when it cannot be read.
double LinkedFileSeconds(const std::string& path);

// Whether opening pulls from the linked file: it exists and its modification
// time is at least one second past `storedSeconds`.
bool LinkedFileIsNewer(const std::string& path, double storedSeconds);

}  // namespace brevora::office
