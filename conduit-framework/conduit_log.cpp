#include "conduit-framework/conduit_log.h"

#include "conduit-framework/product.h"
#include "platform/hotsync/hotsync_log.h"

namespace brevora::conduit {

void LogHotSync(const Product& product, std::string_view text) {
  const std::string line = product.name + " - " + std::string(text);
  LogAddEntry(line.c_str(), kLogText, 0);
}

void LogFileError(std::string_view text) {
  LogAddEntry(std::string(text).c_str(), kLogFileError, 0);
}

void RunErrors::Refuse(std::string_view text) {
  LogHotSync(product_, text);
  any_ = true;
}

}  // namespace brevora::conduit
