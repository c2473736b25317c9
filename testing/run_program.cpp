#include "testing/run_program.h"

#include <fstream>
#include <iterator>

#include "testing/spawn.h"
#include "testing/temp_home.h"

namespace brevora::testing {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  const std::string folder = MakeTempDir("program-run");
  const std::string out = folder + "/out";
  const std::string err = folder + "/err";
  ProgramResult result;
  result.status = SpawnAndWait(program, args, {"/dev/null", out, err});
  result.out = FileText(out);
  result.err = FileText(err);
  return result;
}

}  // namespace brevora::testing
