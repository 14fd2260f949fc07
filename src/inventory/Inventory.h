#pragma once

// The whole scan: every category, the load measurement and the final pass.

#include "model/Report.h"

#include <functional>
#include <string>

// Called with a progress message and a percentage 0 to 100, on the scanning thread.
using ProgressCallback = std::function<void(const std::wstring& message, int percent)>;

// Runs on the calling thread and never throws; failures become hints or "Nicht gemeldet".
HardwareReport CollectHardwareInventory(const ProgressCallback& progress);
