#include "export/PdfLayout.h"

#include "model/Report.h"
#include "model/Version.h"

#include <algorithm>
#include <string_view>

namespace {

struct Rgb {
    double r, g, b;
};

constexpr Rgb kHeaderBlue{0.08, 0.3, 0.62};
constexpr Rgb kWhite{1, 1, 1};
constexpr Rgb kHeaderPale{0.82, 0.9, 1};
constexpr Rgb kFooterGrey{0.82, 0.85, 0.89};
constexpr Rgb kGaugeCard{0.94, 0.96, 0.98};
constexpr Rgb kGaugeTrack{0.84, 0.87, 0.9};
constexpr Rgb kGaugeLabel{0.3, 0.36, 0.44};
constexpr Rgb kGaugeValue{0.18, 0.22, 0.28};
constexpr Rgb kGaugeHigh{0.9, 0.2, 0.12};
constexpr Rgb kGaugeRaised{0.95, 0.62, 0.12};
constexpr Rgb kGaugeNormal{0.22, 0.72, 0.4};
constexpr Rgb kCategoryBand{0.11, 0.38, 0.72};
constexpr Rgb kRecordBand{0.9, 0.93, 0.97};
constexpr Rgb kRecordTitle{0.1, 0.27, 0.48};
constexpr Rgb kFieldLabel{0.32, 0.37, 0.44};
constexpr Rgb kFieldValue{0.12, 0.16, 0.22};
constexpr Rgb kNotesBand{0.78, 0.39, 0.1};
constexpr Rgb kNoteText{0.42, 0.22, 0.08};
constexpr Rgb kStatusRed{0.9, 0.2, 0.2};
constexpr Rgb kStatusAmber{0.95, 0.62, 0.12};
constexpr Rgb kStatusGreen{0.22, 0.72, 0.4};
constexpr Rgb kStatusGrey{0.55, 0.58, 0.63};
constexpr Rgb kLogoTile{0.06, 0.09, 0.13};
constexpr Rgb kLogoBlue{0.1, 0.46, 0.91};
constexpr Rgb kLogoPin{0.28, 0.78, 0.94};
constexpr Rgb kLogoLens{0.96, 0.98, 1};

// Page-break thresholds of the cursor: below them the next item starts a new page.
constexpr double kCategoryBreak = 105;
constexpr double kRecordBreak = 80;
constexpr double kFieldBreak = 54;
constexpr double kNotesBreak = 90;

struct LetterRule {
    const wchar_t* keyword;
    wchar_t letter;
};

// The first keyword found in a category name decides its badge letter.
constexpr LetterRule kLetterRules[] = {
    {L"auslastung", L'A'}, {L"windows", L'W'},    {L"prozessor", L'C'},  {L"mainboard", L'B'},
    {L"bios", L'B'},       {L"arbeitsspeicher", L'R'}, {L"laufwerk", L'D'}, {L"volume", L'D'},
    {L"grafik", L'G'},     {L"monitor", L'M'},    {L"sicherheit", L'T'}, {L"firmware", L'T'},
    {L"netzwerk", L'N'},   {L"eingabe", L'E'},    {L"biometr", L'F'},    {L"kamera", L'K'},
    {L"scanner", L'K'},    {L"drucker", L'P'},    {L"bluetooth", L'L'},  {L"audio", L'H'},
    {L"headset", L'H'},    {L"usb", L'U'},        {L"sensor", L'S'},
};

struct BadgeColour {
    wchar_t letter;
    Rgb colour;
};

constexpr BadgeColour kBadgeColours[] = {
    {L'R', {0.43, 0.78, 0.4}},
    {L'G', {0.76, 0.38, 0.78}},
    {L'T', {0.95, 0.61, 0.16}},
    {L'D', {0.22, 0.7, 0.6}},
};
constexpr Rgb kBadgeDefault{0.22, 0.76, 0.94};

struct StatusWord {
    const wchar_t* word;
    Rgb colour;
};

// Checked in this order: a value naming a fault wins over one that merely contains "aktiv".
constexpr StatusWord kValueWords[] = {
    {L"fehler", kStatusRed}, {L"ungesund", kStatusRed}, {L"kritisch", kStatusRed}, {L"deaktiviert", kStatusRed},
    {L"warn", kStatusAmber}, {L"gut", kStatusGreen},    {L"ok", kStatusGreen},     {L"aktiv", kStatusGreen},
};

void Fill(PdfPage& page, double x, double y, double width, double height, Rgb c) {
    FillPdfRect(page, x, y, width, height, c.r, c.g, c.b);
}

void Line(PdfPage& page, double x1, double y1, double x2, double y2, double width, Rgb c) {
    StrokeLine(page, x1, y1, x2, y2, width, c.r, c.g, c.b);
}

void Text(PdfPage& page, double x, double y, double size, const std::wstring& text, Rgb c, const char* font) {
    DrawPdfText(page, x, y, size, text, c.r, c.g, c.b, font);
}

Rgb ThresholdColour(double n, double red, double amber, Rgb otherwise) {
    if (n >= red) {
        return kStatusRed;
    }
    return n >= amber ? kStatusAmber : otherwise;
}

// The status rule asks each field up to thirteen questions of containment. Folded once as
// ContainsNoCase folds (A to Z only), the texts answer them all alike without its two copies
// per question; the keywords are lower case already. The buffers keep their room from field
// to field.
struct FoldedTexts {
    std::wstring label;
    std::wstring value;
};

void FoldInto(std::wstring& folded, const std::wstring& text) {
    folded.assign(text);
    for (wchar_t& c : folded) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
}

bool Has(const std::wstring& folded, std::wstring_view keyword) {
    return folded.find(keyword) != std::wstring::npos;
}

Rgb StatusRgb(const std::wstring& label, const std::wstring& value, FoldedTexts& folded) {
    const double n = ParseLeadingAsciiNumber(value);
    FoldInto(folded.label, label);
    const std::wstring& l = folded.label;
    if (Has(l, L"temperatur") && !Has(l, L"kritisch") && !Has(l, L"zulässig")) {
        return Has(l, L"ssd") ? ThresholdColour(n, 70, 60, kStatusGrey) : ThresholdColour(n, 85, 70, kStatusGrey);
    }
    // "belegt" also names sizes ("Belegt/zugewiesen": bytes); only a percentage is a load.
    if (Has(l, L"auslastung") || (Has(l, L"belegt") && value.find(L'%') != std::wstring::npos)) {
        return ThresholdColour(n, 90, 70, kStatusGrey);
    }
    if (Has(l, L"restlebensdauer")) {
        if (n >= 0 && n < 50) {
            return kStatusRed;
        }
        return n >= 0 && n < 80 ? kStatusAmber : kStatusGrey;
    }
    FoldInto(folded.value, value);
    for (const StatusWord& word : kValueWords) {
        if (Has(folded.value, word.word)) {
            return word.colour;
        }
    }
    return value == L"Ja" ? kStatusGreen : kStatusGrey;
}

// Most texts fit their row and are drawn as they stand, without a shortened copy.
const std::wstring& Shortened(const std::wstring& text, size_t maximum, std::wstring& scratch) {
    if (text.size() <= maximum) {
        return text;
    }
    scratch = Truncate(text, maximum);
    return scratch;
}

}  // namespace

wchar_t CategoryLetter(const std::wstring& name) {
    for (const LetterRule& rule : kLetterRules) {
        if (ContainsNoCase(name, rule.keyword)) {
            return rule.letter;
        }
    }
    return L'I';
}

void StatusColor(const std::wstring& label, const std::wstring& value, double& r, double& g, double& b) {
    FoldedTexts folded;
    const Rgb colour = StatusRgb(label, value, folded);
    r = colour.r;
    g = colour.g;
    b = colour.b;
}

void DrawLogo(PdfPage& page, double x, double y, double s) {
    Fill(page, x, y, s, s, kLogoTile);
    const double cx = x + 0.2 * s;
    const double cy = y + 0.26 * s;
    const double c = 0.52 * s;
    Fill(page, cx, cy, c, c, kLogoBlue);
    Fill(page, cx + 0.2 * c, cy + 0.2 * c, 0.6 * c, 0.6 * c, kLogoTile);

    const double p = 0.13 * s;
    for (int i = 0; i < 3; ++i) {
        const double px = cx + c * (0.2 + 0.3 * i);
        Line(page, px, cy + c, px, cy + c + p, 1.4, kLogoPin);
        Line(page, px, cy, px, cy - p, 1.4, kLogoPin);
    }
    for (int i = 0; i < 3; ++i) {
        const double py = cy + c * (0.2 + 0.3 * i);
        Line(page, cx - p, py, cx, py, 1.4, kLogoPin);
        Line(page, cx + c, py, cx + c + p, py, 1.4, kLogoPin);
    }

    const double mx = x + 0.7 * s;
    const double my = y + 0.28 * s;
    DrawCircle(page, mx, my, 0.17 * s, kLogoLens.r, kLogoLens.g, kLogoLens.b, true, 1);
    DrawCircle(page, mx, my, 0.105 * s, kLogoBlue.r, kLogoBlue.g, kLogoBlue.b, false, 2.5);
    // A light line under the blue one gives the handle its outline.
    Line(page, mx + 0.12 * s, my - 0.12 * s, x + 0.94 * s, y + 0.03 * s, 3, kLogoLens);
    Line(page, mx + 0.12 * s, my - 0.12 * s, x + 0.94 * s, y + 0.03 * s, 1.4, kLogoBlue);
}

void DrawHeader(PdfPage& page, const HardwareReport& report, int32_t pageNumber, const std::wstring& versionLine) {
    Fill(page, 0, 792, 595, 50, kHeaderBlue);
    DrawLogo(page, 24, 798, 38);
    Text(page, 75, 818, 18, L"Velquist", kWhite, "F2");
    Text(page, 75, 801, 8, L"Hardware- und Zustandsbericht · " + versionLine, kHeaderPale, "F1");
    Text(page, 435, 816, 8, report.created, kWhite, "F1");
    Text(page, 485, 801, 8, L"Seite " + std::to_wstring(pageNumber), kHeaderPale, "F1");
    page.y = 775;
}

void DrawFooter(PdfPage& page) {
    Fill(page, 24, 24, 547, 1, kFooterGrey);
}

void DrawGauge(PdfPage& page, double x, double y, const std::wstring& label, int32_t percent) {
    Fill(page, x, y, 126, 42, kGaugeCard);
    Text(page, x + 8, y + 27, 8, label, kGaugeLabel, "F2");
    const int32_t p = std::clamp<int32_t>(percent, 0, 100);
    Fill(page, x + 8, y + 9, 108, 8, kGaugeTrack);
    const Rgb bar = p >= 90 ? kGaugeHigh : p >= 70 ? kGaugeRaised : kGaugeNormal;
    Fill(page, x + 8, y + 9, 108 * (p / 100.0), 8, bar);
    const std::wstring value = percent < 0 ? L"n. v." : std::to_wstring(p) + L" %";
    Text(page, x + 88, y + 27, 8, value, kGaugeValue, "F2");
}

void DrawCategoryBadge(PdfPage& page, double cx, double cy, const std::wstring& name) {
    const wchar_t letter = CategoryLetter(name);
    Rgb colour = kBadgeDefault;
    for (const BadgeColour& badge : kBadgeColours) {
        if (badge.letter == letter) {
            colour = badge.colour;
            break;
        }
    }
    DrawCircle(page, cx, cy, 8, colour.r, colour.g, colour.b, true, 1);
    Text(page, cx - 2.7, cy - 3, 8, std::wstring(1, letter), kWhite, "F2");
}

void DrawReportPages(std::vector<PdfPage>& pages, const HardwareReport& report, const std::wstring& versionLine) {
    auto newPage = [&pages, &report, &versionLine]() -> PdfPage& {
        DrawFooter(pages.back());
        pages.emplace_back();
        DrawHeader(pages.back(), report, static_cast<int32_t>(pages.size()), versionLine);
        return pages.back();
    };

    if (pages.empty()) {
        pages.emplace_back();
    }
    FoldedTexts folded;
    std::wstring shortened;
    PdfPage* page = &pages.back();
    DrawHeader(*page, report, 1, versionLine);
    DrawGauge(*page, 28, 716, L"CPU", report.load.cpuPercent);
    DrawGauge(*page, 165, 716, L"Arbeitsspeicher", report.load.memoryPercent);
    DrawGauge(*page, 302, 716, L"Datenträger", report.load.diskPercent);
    DrawGauge(*page, 439, 716, L"Grafik", report.load.gpuPercent);
    page->y = 698;

    for (const ReportCategory& category : report.categories) {
        page->y -= 10;
        if (page->y < kCategoryBreak) {
            page = &newPage();
            page->y -= 10;
        }
        Fill(*page, 28, page->y - 4, 539, 26, kCategoryBand);
        DrawCategoryBadge(*page, 43, page->y + 9, category.name);
        Text(*page, 58, page->y + 5, 11, category.name, kWhite, "F2");
        page->y -= 38;

        for (const ReportRecord& record : category.records) {
            if (page->y < kRecordBreak) {
                page = &newPage();
            }
            Fill(*page, 34, page->y - 3, 527, 17, kRecordBand);
            Text(*page, 42, page->y + 1, 9, Shortened(record.title, 86, shortened), kRecordTitle, "F2");
            page->y -= 20;
            for (const ReportField& field : record.fields) {
                if (page->y < kFieldBreak) {
                    page = &newPage();
                }
                Fill(*page, 40, page->y + 1, 5, 5, StatusRgb(field.first, field.second, folded));
                Text(*page, 50, page->y, 7.5, Shortened(field.first, 36, shortened), kFieldLabel, "F2");
                Text(*page, 222, page->y, 7.5, Shortened(field.second, 78, shortened), kFieldValue, "F1");
                page->y -= 11;
            }
            page->y -= 5;
        }
        page->y -= 4;
    }

    if (!report.hints.empty()) {
        if (page->y < kNotesBreak) {
            page = &newPage();
            page->y -= 10;
        }
        Fill(*page, 28, page->y - 3, 539, 22, kNotesBand);
        DrawCategoryBadge(*page, 43, page->y + 7, L"Diagnosehinweise");
        Text(*page, 58, page->y + 4, 11, L"Diagnosehinweise", kWhite, "F2");
        page->y -= 30;
        for (const std::wstring& hint : report.hints) {
            if (page->y < kFieldBreak) {
                page = &newPage();
            }
            Text(*page, 40, page->y, 7.5, L"• " + Truncate(hint, 105), kNoteText, "F1");
            page->y -= 11;
        }
    }
    DrawFooter(*page);
}
