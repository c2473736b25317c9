#pragma once
// The receiver's own texts: window title, version, the system menu's About
// entry, tray tip and the messages it shows.
namespace brevora::remote {

inline constexpr const char* kProgramTitle = "VantaPC";
inline constexpr const char* kProgramVersion = "1.0";
inline constexpr const char* kMenuAbout = "&About VantaPC...";
inline constexpr const char* kCompanyKey = "Keelbrook";
inline constexpr const char* kTrayTip = "Slidora Remote Control";
inline constexpr const char* kMsgNewPort =
    "You will need to stop/start to begin using the new port";
inline constexpr const char* kMsgSelectPresentation = "Select the presentation to run";
inline constexpr const char* kMsgUseActivePresentation =
    "The requested presentation name does not match, do you want to use the Active Presentation";
inline constexpr const char* kMsgSelectPort =
    "Select the port for the incoming bluetooth connection, then select 'Start'";
inline constexpr const char* kMsgOpenPortFailed =
    "Error opening the port for the incoming bluetooth connection";
inline constexpr const char* kMsgPortTimeoutsFailed = "Error setting the bluetooth port timeouts";

}  // namespace brevora::remote
