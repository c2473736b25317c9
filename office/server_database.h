#pragma once
// The server database object of the RivorOdurov exchange (Workbook and
// Document WriteToZazerDB): the calls both exchanges make on it the same way.
// The object lies outside the system and is reached only late-bound.
//
//   AddServerRecord: AddNewRecord; a result that does not convert to True
//     (False, Null, Empty or something that is no truth value) raises
//     0x80040112 "Cannot add new record." (source "tabrelpc").
//   ServerCreationTime: a local date and time (days since 1899-12-30) as the
//     exchanges stamp it: times 1440 (minutes), formatted as decimal text and
//     read back as an unsigned 32-bit number (the whole part; the support
//     library's ULongStrToLong), handed over as a signed 32-bit value.
//   SetServerCreationTime: SetCreationTime with the stamp of now, passed by
//     reference.
#include <cstdint>

#include "platform/automation/dispatch.h"
#include "platform/error/error.h"

namespace brevora::office {

inline constexpr int32_t kCannotAddRecordError = 0x112;  // plus kObjectError

void AddServerRecord(Dispatch& database);
int32_t ServerCreationTime(double localDate);
void SetServerCreationTime(Dispatch& database);

}  // namespace brevora::office
