#pragma once
// The serial ports a user may pick: the devices present under /dev whose names
// say they are serial lines: Bluetooth RFCOMM ports ("rfcomm0"), USB serial
// adapters ("ttyUSB0"), USB modems ("ttyACM0") and built-in lines ("ttyS0"), in
// that order, each kind by number. A user may also type any other path.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::serial {

// Full paths ("/dev/rfcomm0"), as system paths. `deviceFolder` is for tests.
std::vector<std::string> ListPorts(std::string_view deviceFolder = "/dev");

}  // namespace brevora::serial
