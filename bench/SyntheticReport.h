#pragma once

// Reports of any size that look like a real machine's: the benchmark feeds them to the exporters.

#include "model/Report.h"

#include <cstddef>

// `records` records of eight fields each, spread over the usual categories, with one diagnostic
// note per 50 records. The same count always gives the same report.
HardwareReport BuildSyntheticReport(size_t records);
