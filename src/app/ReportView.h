#pragma once

// The texts the window shows for a report: tree items, the styled pieces of a rendered
// category, the status line after a scan, the tiles' values, and the live-load rewrite.

#include "app/Palette.h"
#include "model/Report.h"

#include <string>
#include <vector>

inline constexpr wchar_t kLiveLoadCategory[] = L"Aktuelle Auslastung";

// One run of text appended to the details pane with its own character format.
struct StyledPiece {
    std::wstring text;
    Colour colour = TextColor;
    bool bold = false;
    int heightTwips = 0;
    Colour backColour = PanelColor;

    bool operator==(const StyledPiece&) const = default;
};

std::wstring TreeItemText(const ReportCategory& category);

// Image of tree item `index`: the icons follow the item's position, not the category.
int TreeItemImage(size_t index);

std::vector<StyledPiece> RenderCategoryPieces(const ReportCategory& category);

// Status line after a scan; a missing report counts as empty.
std::wstring ScanSummaryText(const HardwareReport* report);

// Value text of a load tile.
std::wstring LoadTileValueText(int percent);

bool IsLiveLoadCategory(const ReportCategory& category);
bool FieldLabelEquals(const ReportField& field, const std::wstring& label);

// Rewrites the four load values of the live-load record from report.load; adds no fields.
void UpdateLiveLoadCategory(HardwareReport& report);
