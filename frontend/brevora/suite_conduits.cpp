#include "frontend/brevora/suite_conduits.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::program {
namespace {

using hotsync::host::ConduitRegistration;

bool LibraryExists(const ConduitRegistration& conduit) {
  std::error_code error;
  return std::filesystem::is_regular_file(fs::NativePath(conduit.library), error);
}

// Whether the user's registrations already hold `suite` (see the header).
bool AlreadyRegistered(const std::vector<ConduitRegistration>& registered,
                       const SuiteConduit& suite) {
  return std::any_of(registered.begin(), registered.end(), [&](const ConduitRegistration& r) {
    return (r.creator == suite.creator || text::EqualsNoCase(r.name, suite.name)) &&
           LibraryExists(r);
  });
}

}  // namespace

std::string RegisterSuiteConduits(const std::string& libraryFolder) {
  std::string problems;
  try {
    const std::vector<ConduitRegistration> registered = hotsync::host::RegisteredConduits();
    for (const SuiteConduit& suite : kSuiteConduits) {
      if (AlreadyRegistered(registered, suite)) continue;
      const std::string library = (std::filesystem::path(libraryFolder) / suite.library).string();
      std::error_code error;
      if (libraryFolder.empty() || !std::filesystem::is_regular_file(library, error)) {
        problems += std::string(problems.empty() ? "" : " ") + "the conduit library " + library +
                    " is not there.";
        continue;
      }
      hotsync::host::RegisterConduit(
          {suite.name, fs::SystemPath(library), suite.directory, suite.creator});
    }
  } catch (...) {
    // A registry file that can't be read is reported, not registered over.
    problems +=
        std::string(problems.empty() ? "" : " ") + text::CpToUtf8(CurrentError().description());
  }
  return problems;
}

}  // namespace brevora::frontend::program
