#include "core/handheld_database.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/format_errors.h"
#include "core/handheld_database_reader.h"
#include "core/handheld_database_writer.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/hotsync/database_format.h"
#include "platform/hotsync/database_reader.h"
#include "platform/time/dates.h"

namespace brevora::core {
namespace {

// 1904-01-01 00:00 as a Visual Basic date.
constexpr double kPalmEpoch = 1462.0;

template <std::size_t N>
std::string AllBytes(const std::array<uint8_t, N>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Stores `text` zero-padded; refused with 380 when longer than `max`.
template <std::size_t N>
void StoreText(std::array<uint8_t, N>& bytes, std::string_view text, std::size_t max,
               const char* source, const std::string& message) {
  if (text.size() > max) RaiseError(kInvalidPropertyValue, source, message);
  bytes.fill(0);
  std::copy(text.begin(), text.end(), bytes.begin());
}

// Whole seconds since 1904-01-01, rounded to the nearest; 6 when that falls
// outside the 32-bit field (which the conversion itself would saturate).
void StoreDate(BigEndian32& field, double date) {
  const double seconds = std::round((date - kPalmEpoch) * dates::kSecondsPerDay);
  if (!(seconds >= 0.0 && seconds <= 4294967295.0)) RaiseRuntimeError(6);
  field.SetValue(dates::VbDateToPalm(date));
}

double LoadDate(const BigEndian32& field) {
  return dates::PalmToVbDate(static_cast<uint32_t>(field.Value()));
}

// Runs `body`, raising any error as `number` of the inner error, `source`, and
// `message` CR LF the inner description.
template <typename Body>
void Wrapped(const char* source, const std::string& message, Body&& body) {
  try {
    body();
  } catch (...) {
    const AutomationError inner = CurrentError();
    throw AutomationError(inner.number(), source, message + "\r\n" + inner.description());
  }
}

}  // namespace

HandheldDatabase::HandheldDatabase() = default;
HandheldDatabase::~HandheldDatabase() = default;

std::string HandheldDatabase::Name() const {
  const auto end = std::find(name_.begin(), name_.end(), uint8_t{0});
  return std::string(name_.begin(), end);
}

void HandheldDatabase::SetName(std::string_view name) {
  StoreText(name_, name, hotsync::database_format::kMaxNameLength, "PDB.PDBName",
            "PDBName must be a maximum of " +
                std::to_string(hotsync::database_format::kMaxNameLength) + " characters.");
}

std::string HandheldDatabase::Type() const { return AllBytes(type_); }

void HandheldDatabase::SetType(std::string_view type) {
  StoreText(type_, type, hotsync::database_format::kCodeSize, "PDB.PDBType",
            RuntimeErrorText(kInvalidPropertyValue));
}

std::string HandheldDatabase::Creator() const { return AllBytes(creator_); }

void HandheldDatabase::SetCreator(std::string_view creator) {
  StoreText(creator_, creator, hotsync::database_format::kCodeSize, "PDB.PDBCreator",
            RuntimeErrorText(kInvalidPropertyValue));
}

double HandheldDatabase::CreationDate() const { return LoadDate(creationDate_); }
void HandheldDatabase::SetCreationDate(double date) { StoreDate(creationDate_, date); }
double HandheldDatabase::ModificationDate() const { return LoadDate(modificationDate_); }
void HandheldDatabase::SetModificationDate(double date) { StoreDate(modificationDate_, date); }
double HandheldDatabase::LastBackupDate() const { return LoadDate(lastBackupDate_); }
void HandheldDatabase::SetLastBackupDate(double date) { StoreDate(lastBackupDate_, date); }

bool HandheldDatabase::ReadFile(std::string_view fileName, bool readData, bool keyed) {
  Wrapped("PDB.ReadFile", "Error reading PDB File (" + std::string(fileName) + ")", [&] {
    if (readData) {
      const HandheldDatabaseReader reader(
          std::make_shared<const std::vector<uint8_t>>(fs::ReadWholeFile(fileName)));
      reader.Fill(*this, true, keyed);
      return;
    }
    // Without the records only the start of the file is read: header, record
    // list and blocks, not the data behind them.
    const fs::InputFile in(fileName);
    std::vector<uint8_t> start = in.Read(0, hotsync::DatabaseReader::kFirstBytes);
    const uint64_t need = hotsync::DatabaseReader::HeadSize(start, in.Size());
    if (need > start.size()) start = in.Read(0, static_cast<std::size_t>(need));
    const HandheldDatabaseReader reader(
        std::make_shared<const std::vector<uint8_t>>(std::move(start)), in.Size());
    reader.Fill(*this, false, keyed);
  });
  return true;
}

bool HandheldDatabase::WriteFile(std::string_view fileName) {
  Wrapped("PDB.WriteFile", "Error writing PDB File (" + std::string(fileName) + ")", [&] {
    HandheldDatabaseWriter writer(*this);
    fs::AtomicFile file(fileName);
    writer.WriteTo(file);
    file.Commit();
  });
  return true;
}

}  // namespace brevora::core
