#pragma once
// How the presentation converter works inside PowerPoint ("PowerPoint.Application",
// reached late-bound) and the suite's PowerPoint add-in "slidr6.ppa": the version
// checks, loading the add-in, running its macros, and handing the Session's ten
// values to it and back. Each step raises its own 32760 error with the
// converter's source and message around any other error; 32760 passes on.
//
// Add-in macros are run through the application's Run with the add-in's file
// name, "!" and the macro's name, then one argument array passed by reference:
// a 0-based array of variants whose element 0 stays empty.
#include <cstdint>
#include <string>
#include <vector>

#include "office/office_object.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace brevora::core {
class Session;
}

namespace brevora::slides::powerpoint {

inline constexpr const char* kProgId = "PowerPoint.Application";
inline constexpr const char* kAddInFileName = "slidr6.ppa";
inline constexpr int32_t kWindowNormal = 1;
inline constexpr int32_t kWindowMinimized = 2;

// The add-in's file name: always "slidr6.ppa".
std::string AddInFileName();

// Version read as a number and rounded to a 16-bit integer ("8.0" gives 8).
// Errors: 32760 "SDK.GetPowerPointVersion" "Cannot get PowerPoint version.".
int16_t PowerPointVersion(Dispatch& app);

// PowerPoint for one call (office/office_object.h, the shape the Excel and Word
// drivers share): `app` is the application object the holder took; the
// version is read when needed, not kept.
using PowerPointObject = office::OfficeObject;

// Attaches to a running PowerPoint, or starts one and minimises it. Either
// must be version 6 or newer (32760 "SDK.GetPowerPointObject" "This API
// requires PowerPoint 6 or newer."); a PowerPoint started here is quit when
// the holder goes on any path that does not keep it. Other errors: 32760
// "GetPowerPointObject" "Error getting PowerPoint object.".
PowerPointObject GetPowerPointObject();
// Server mode: the PowerPoint the server pool lends (GetServer, ServerObject),
// minimised; the pool's errors are raised as they are.
PowerPointObject PowerPointFromPool();

// Finds the add-in (the AddIns list, then PowerPoint's Path, then the
// registry's PowerPoint add-in command and its "Addins" folder) and adds it to
// AddIns, also when it is listed already. None found: 32760 "SDK.OpenAddIN"
// "The Slidora add-in is not installed.  ...". Other errors: 32760
// "SDK.OpenAddIn" "Could not open Slidr add-in".
void OpenAddIn(Dispatch& app);

// Runs "slidr6.ppa!<macro>" with `elements` in the array's elements 1, 2, ...;
// the array, as the macro left it, is handed back through `elements`.
Variant RunMacro(Dispatch& app, const std::string& macro, std::vector<Variant>& elements);

// The session macros, run only with PowerPoint 8 or newer. SetSession hands
// over the Session's ten values; GetSession takes them back through the
// Session's setters (older PowerPoint: the Session is left as it is);
// DeleteSession lets the add-in drop them. Errors: 32760 with "SDK.SetPPTSession"
// "Error setting session.", "SDK.GetPPTSession" "Error getting session.",
// "SDK.DeleteSession" "Error deleting Session.".
void SetSession(Dispatch& app, const core::Session& session);
void GetSession(Dispatch& app, core::Session& session);
void DeleteSession(Dispatch& app);

// The class of PowerPoint's main window for its version: "PP97FrameClass" (8),
// "PP9FrameClass" (9), "PP10FrameClass" (10); "" for any other version.
std::string MainWindowClass(int16_t version);

}  // namespace brevora::slides::powerpoint
