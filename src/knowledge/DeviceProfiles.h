#pragma once

// The catalogue of known device models and the facts their records gain.

#include "model/Report.h"

#include <string>
#include <vector>

struct DeviceProfile {
    std::wstring category;              // exact name of the report category the profile applies to
    std::vector<std::wstring> patterns;  // model names as people write them; one hit is enough
    std::vector<ReportField> fields;     // facts added to a matching record, in this order
};

// Built on first use and shared read-only afterwards.
const std::vector<DeviceProfile>& DeviceProfiles();
