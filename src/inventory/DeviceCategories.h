#pragma once

// "Partitionen & Volumes", "Optische Laufwerke", "Grafik", "Netzwerk", "Audio & Headsets" and the
// attached-device categories from "USB-Controller" to "Akku".

#include "inventory/ScanSteps.h"
#include "model/Report.h"

#include <string>

class WmiSession;

// Partitions and volumes with their byte sizes, then the optical drives.
void CollectVolumesAndOpticalDrives(ScanContext& scan);
// Video controllers from WMI, then the DXGI adapters.
void CollectGraphics(ScanContext& scan);
// Network adapters and IP configurations, then the sound devices and audio Plug-and-Play classes.
void CollectNetworkAndAudio(ScanContext& scan);
// USB controllers through batteries, each class of attached devices in its category.
void CollectAttachedDevices(ScanContext& scan);

// Lists the present Plug-and-Play devices that match whereText (a WQL condition, used as it stands).
void CollectPnpDevices(HardwareReport& report, WmiSession& session, const std::wstring& categoryName,
                       const std::wstring& whereText);
std::wstring PnpDevicesQuery(const std::wstring& whereText);

// "Größe", "Frei" and "Startoffset" of every record as byte sizes; nothing else is touched.
void FormatVolumeSizes(ReportCategory& volumes);
