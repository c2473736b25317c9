#pragma once
// The receiver's settings and command line.
//
// "ComPort" (text, default empty) under HKEY_CURRENT_USER
// "Software\Keelbrook\VantaPC\Settings": the port last started, as a system path.
//
// The command line: "-start" anywhere in it starts listening at once (in the
// running instance, when there is one); otherwise "-stop" anywhere in it stops
// the running instance and starts nothing.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::remote {

inline constexpr const char* kSettingsKey = "Software\\Keelbrook\\VantaPC\\Settings";
inline constexpr const char* kComPortValue = "ComPort";

std::string LoadComPort();
void SaveComPort(std::string_view port);

enum class StartupAction { kShow, kStart, kStop };

// `arguments` without the program name.
StartupAction ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace brevora::remote
