#pragma once
// Test support: every test case runs with BREVORA_HOME pointing at a fresh
// temporary folder, created before the case and removed after it, so no test
// ever reads or writes the real home.
#include <string>
#include <vector>

namespace brevora::testing {

// The BREVORA_HOME of the running test case.
std::string TempHome();

// A fresh, empty folder inside the test case's home (removed with it).
std::string MakeTempDir(const std::string& name);

// The names of every entry of `folder`, hidden ones included, sorted byte by
// byte: read straight from the file system, not through the code under test.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace brevora::testing
