#pragma once
// PseudoTerminal: a pseudo-terminal pair (openpty) owned for its lifetime, both
// ends closed by the destructor. The slave end stands in for a serial device
// (its path is what a SerialPort opens); the master end is the far side of the
// line: what is written to it arrives at the device, what the device writes is
// read from it. Used by the tests and benchmarks of serial code.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brevora::serial {

class PseudoTerminal {
 public:
  // Opens a pair, the master end non-blocking; raises std::system_error on failure.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // The slave device's path ("/dev/pts/3").
  const std::string& SlavePath() const { return slavePath_; }
  int MasterHandle() const { return master_; }

  // Writes all of `bytes` to the master end; false on failure.
  bool WriteMaster(std::span<const uint8_t> bytes);
  // Reads from the master end until `count` bytes came or `timeout` passed.
  std::vector<uint8_t> ReadMaster(size_t count, std::chrono::milliseconds timeout);
  // Reads what arrives at the master end until nothing more comes for `quiet`.
  std::vector<uint8_t> ReadMasterUntilQuiet(std::chrono::milliseconds quiet);

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open so the line stays up while no one else holds it
  std::string slavePath_;
};

}  // namespace brevora::serial
