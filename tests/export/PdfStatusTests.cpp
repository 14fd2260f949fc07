#include "export/PdfLayout.h"

#include <gtest/gtest.h>

namespace {

enum class Status { Red, Amber, Green, Grey, Other };

Status StatusOf(const std::wstring& label, const std::wstring& value) {
    double r = -1, g = -1, b = -1;
    StatusColor(label, value, r, g, b);
    if (r == 0.9 && g == 0.2 && b == 0.2) return Status::Red;
    if (r == 0.95 && g == 0.62 && b == 0.12) return Status::Amber;
    if (r == 0.22 && g == 0.72 && b == 0.4) return Status::Green;
    if (r == 0.55 && g == 0.58 && b == 0.63) return Status::Grey;
    return Status::Other;
}

struct StatusCase {
    const wchar_t* label;
    const wchar_t* value;
    Status expected;
};

void ExpectStatuses(std::initializer_list<StatusCase> cases) {
    for (const StatusCase& c : cases) {
        EXPECT_EQ(StatusOf(c.label, c.value), c.expected) << "label \"" << testing::PrintToString(std::wstring(c.label))
                                                          << "\" value " << testing::PrintToString(std::wstring(c.value));
    }
}

}  // namespace

TEST(StatusColor, SsdTemperaturesWarnEarlierThanOthers) {
    ExpectStatuses({
        {L"SSD-Temperatur", L"59 °C", Status::Grey},
        {L"SSD-Temperatur", L"65 °C", Status::Amber},
        {L"SSD-Temperatur", L"70 °C", Status::Red},
        {L"Temperatur", L"65 °C", Status::Grey},
        {L"Temperatur", L"70 °C", Status::Amber},
        {L"CPU-Temperatur", L"84,9 °C", Status::Amber},
        {L"Temperatur", L"85 °C", Status::Red},
        {L"Temperatur", L"Nicht gemeldet", Status::Grey},
        // A temperature rule decides even where the value holds a status word.
        {L"Temperatur", L"Fehler", Status::Grey},
    });
}

TEST(StatusColor, LimitTemperaturesFallThroughToTheValueWords) {
    ExpectStatuses({
        {L"Kritische Temperatur", L"95 °C", Status::Grey},
        {L"Maximal zulässige SSD-Temperatur", L"80 °C", Status::Grey},
        {L"Kritische Temperatur", L"kritisch", Status::Red},
    });
}

TEST(StatusColor, LoadsTurnAmberAtSeventyAndRedAtNinety) {
    ExpectStatuses({
        {L"CPU-Auslastung", L"69 %", Status::Grey},
        {L"CPU-Auslastung", L"70 %", Status::Amber},
        {L"CPU-Auslastung", L"90 %", Status::Red},
        {L"Speicherauslastung", L"Nicht gemeldet", Status::Grey},
        {L"Speicher belegt", L"91 %", Status::Red},
        {L"Belegt", L"75,5 %", Status::Amber},
    });
}

TEST(StatusColor, BelegtWithoutAPercentageIsNotALoad) {
    ExpectStatuses({
        {L"Belegt/zugewiesen", L"512 GB", Status::Grey},
        {L"Belegt/zugewiesen", L"95 GB", Status::Grey},
        {L"Belegt/zugewiesen", L"17179869184 Bytes", Status::Grey},
        {L"Belegt/zugewiesen", L"95 GB (95 %)", Status::Red},
        // Not a load, so the value's own words decide.
        {L"Steckplatz belegt", L"Ja", Status::Green},
    });
}

TEST(StatusColor, RemainingLifeIsRedBelowFiftyAndAmberBelowEighty) {
    ExpectStatuses({
        {L"SSD-Restlebensdauer", L"Nicht gemeldet", Status::Grey},
        {L"SSD-Restlebensdauer", L"0 %", Status::Red},
        {L"SSD-Restlebensdauer", L"45 %", Status::Red},
        {L"SSD-Restlebensdauer", L"50 %", Status::Amber},
        {L"SSD-Restlebensdauer", L"79 %", Status::Amber},
        {L"SSD-Restlebensdauer", L"80 %", Status::Grey},
    });
}

TEST(StatusColor, ValueWordsRedBeforeAmberBeforeGreen) {
    ExpectStatuses({
        {L"Secure Boot", L"Deaktiviert", Status::Red},
        {L"Zustand", L"Ungesund", Status::Red},
        {L"Zustand", L"Fehlerhaft", Status::Red},
        {L"Zustand", L"Warnung", Status::Amber},
        {L"Zustand", L"Gut", Status::Green},
        {L"Status", L"OK", Status::Green},
        {L"Firewall", L"Aktiv", Status::Green},
        {L"TPM vorhanden", L"Ja", Status::Green},
        {L"TPM vorhanden", L"ja", Status::Grey},
        {L"TPM vorhanden", L"Ja ", Status::Grey},
        {L"Hersteller", L"Contoso", Status::Grey},
        {L"Hersteller", L"", Status::Grey},
    });
}

TEST(CategoryLetter, FirstMatchingKeywordDecides) {
    EXPECT_EQ(CategoryLetter(L"Aktuelle Auslastung"), L'A');
    EXPECT_EQ(CategoryLetter(L"Windows"), L'W');
    EXPECT_EQ(CategoryLetter(L"Prozessor"), L'C');
    EXPECT_EQ(CategoryLetter(L"Mainboard & BIOS"), L'B');
    EXPECT_EQ(CategoryLetter(L"Arbeitsspeicher"), L'R');
    EXPECT_EQ(CategoryLetter(L"Laufwerke"), L'D');
    EXPECT_EQ(CategoryLetter(L"Partitionen & Volumes"), L'D');
    EXPECT_EQ(CategoryLetter(L"Grafik"), L'G');
    EXPECT_EQ(CategoryLetter(L"Monitore"), L'M');
    EXPECT_EQ(CategoryLetter(L"Sicherheit & Firmware"), L'T');
    EXPECT_EQ(CategoryLetter(L"Netzwerk"), L'N');
    EXPECT_EQ(CategoryLetter(L"Eingabegeräte"), L'E');
    EXPECT_EQ(CategoryLetter(L"Biometrie"), L'F');
    EXPECT_EQ(CategoryLetter(L"Kameras & Scanner"), L'K');
    EXPECT_EQ(CategoryLetter(L"Drucker"), L'P');
    EXPECT_EQ(CategoryLetter(L"Bluetooth"), L'L');
    EXPECT_EQ(CategoryLetter(L"Audio & Headsets"), L'H');
    EXPECT_EQ(CategoryLetter(L"USB-Controller"), L'U');
    EXPECT_EQ(CategoryLetter(L"Sensoren"), L'S');
    EXPECT_EQ(CategoryLetter(L"System"), L'I');
    EXPECT_EQ(CategoryLetter(L"Diagnosehinweise"), L'I');
    EXPECT_EQ(CategoryLetter(L""), L'I');
    // Earlier rows win: "Windows" precedes "usb".
    EXPECT_EQ(CategoryLetter(L"Windows-USB-Auslastung"), L'A');
    EXPECT_EQ(CategoryLetter(L"USB unter Windows"), L'W');
}
