// A send program for the phone sync tests. Every run appends one record to the
// file named by BVSYNC_PROBE_LOG: its working folder, then its arguments
// (program name included), each field ended by 0x1F, the record by 0x1E.
// BVSYNC_PROBE_SCRIPT names a file of one action per line; run n takes line n
// (runs past the end exit with 0):
//   a number      exit with that code
//   kill          end by SIGKILL
//   truncate      cut the file named by the last argument to 10 bytes, exit 0
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  const char* log = std::getenv("BVSYNC_PROBE_LOG");
  if (log == nullptr) return 100;
  std::string earlier;
  {
    std::ifstream in(log, std::ios::binary);
    earlier.assign(std::istreambuf_iterator<char>(in), {});
  }
  size_t run = 0;
  for (const char c : earlier) run += c == '\x1e';

  std::string record;
  char folder[4096];
  record += getcwd(folder, sizeof folder) != nullptr ? folder : "?";
  record += '\x1f';
  for (int i = 0; i < argc; ++i) {
    record += argv[i];
    record += '\x1f';
  }
  record += '\x1e';
  {
    std::ofstream out(log, std::ios::binary | std::ios::app);
    out << record;
    if (!out.flush()) return 101;
  }

  std::string action = "0";
  if (const char* script = std::getenv("BVSYNC_PROBE_SCRIPT")) {
    std::ifstream in(script);
    std::string line;
    for (size_t n = 0; std::getline(in, line); ++n) {
      if (n == run) {
        action = line;
        break;
      }
    }
  }
  if (action == "kill") {
    kill(getpid(), SIGKILL);
    return 102;
  }
  if (action == "truncate") {
    return argc > 1 && truncate(argv[argc - 1], 10) == 0 ? 0 : 103;
  }
  return std::atoi(action.c_str());
}
