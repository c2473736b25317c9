#pragma once
// HandheldDatabaseWriter: writes a HandheldDatabase as its file through the
// handheld database file writer (platform/hotsync/database_writer.h, aligned
// placement). The constructor plans the layout without changing anything and
// refuses a database that cannot be written: more than 65535 records or a file
// of 4 GiB or more (offsets are 32-bit) with overflow 6, an empty slot in
// Records with 91. WriteTo then stores what the file says into the database
// (record count, block offsets, each record's data offset, a modification date
// earlier than the creation date raised to it) and writes the bytes in order to
// `out`. `db` must outlive the writer and must not change between the two calls.
#include <optional>

#include "platform/fs/files.h"
#include "platform/hotsync/database_writer.h"

namespace brevora::core {

class HandheldDatabase;

class HandheldDatabaseWriter {
 public:
  explicit HandheldDatabaseWriter(HandheldDatabase& db);
  HandheldDatabaseWriter(const HandheldDatabaseWriter&) = delete;
  HandheldDatabaseWriter& operator=(const HandheldDatabaseWriter&) = delete;

  void WriteTo(fs::AtomicFile& out);

 private:
  HandheldDatabase& db_;
  std::optional<hotsync::DatabaseWriter> writer_;  // set by the constructor
};

}  // namespace brevora::core
