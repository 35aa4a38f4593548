// What the sample destruction record decides without its host: the query for a sampling
// record's samples that may still be destroyed, which typed field names that record, and the
// filter that finds the record a destruction record came from.
#pragma once

#include <string>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

// The sampling record's class type: the bill a destruction record is made from.
inline constexpr int kSamplingRecordClass = 1001906;

// The samples not yet destroyed of the audited sampling record with the number, one row each
// with the record's FID and FClassTypeID and the sample's FEntryID. The number is looked up as
// typed, whatever it holds.
std::string UndestroyedSamplesQuery(std::string_view samplingRecordNo);

// True for the head field that names the sampling record (its key in any case); the rows'
// sample column FSampleNO_2 is not it.
bool NamesSamplingRecord(std::string_view fieldKey);

// "QMSampling.FID =" + the sampling record's FID, or "" when the destruction record names none
// (0, empty or null).
std::string SamplingRecordFilter(const Variant& sampleId);

}  // namespace velaqm
