#include "app/ValueColours.h"

#include <gtest/gtest.h>

TEST(ParseLeadingNumber, ReadsTheFirstNumberWithPointOrComma) {
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"45 °C"), 45.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"3,5 GHz"), 3.5);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"-12"), -12.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"Takt: 4200 MHz, 8 Kerne"), 4200.0);
    // The buffer reads 1.234.5 and the conversion stops at the second point.
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"1.234,5"), 1.234);
}

TEST(ParseLeadingNumber, TextWithoutANumberGivesMinusOne) {
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"n. v."), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"Nicht gemeldet"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L""), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"-"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L","), -1.0);
    // A minus after a digit ends the number; one later in the text does not start a new one.
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"5-3"), 5.0);
}

TEST(ParseLeadingNumber, OutOfRangeValueGivesMinusOneInsteadOfThrowing) {
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"1" + std::wstring(400, L'0')), -1.0);
}

TEST(ParsePercent, ReadsTheIntegerDirectlyBeforeThePercentSign) {
    EXPECT_EQ(ParsePercent(L"37 %"), 37);
    EXPECT_EQ(ParsePercent(L"100%"), 100);
    EXPECT_EQ(ParsePercent(L"250 %"), 100);
    EXPECT_EQ(ParsePercent(L"12 34 %"), 12);
    EXPECT_EQ(ParsePercent(L"-5 %"), 5);
    EXPECT_EQ(ParsePercent(L"0 %"), 0);
    EXPECT_EQ(ParsePercent(L"Last 40 % von 80 %"), 40);
}

TEST(ParsePercent, TextWithoutDigitsBeforeThePercentSignGivesMinusOne) {
    EXPECT_EQ(ParsePercent(L"%"), -1);
    EXPECT_EQ(ParsePercent(L"Nicht gemeldet"), -1);
    EXPECT_EQ(ParsePercent(L"n. v. %"), -1);
    EXPECT_EQ(ParsePercent(L"99999999999999 %"), -1);
}

TEST(ParsePercent, DecimalValuesCountByTheirIntegerPart) {
    EXPECT_EQ(ParsePercent(L"95.5 %"), 95);
    EXPECT_EQ(ParsePercent(L"23.4375 %"), 23);
    EXPECT_EQ(ParsePercent(L"12,5 %"), 12);
    EXPECT_EQ(ParsePercent(L"0.9 %"), 0);
    EXPECT_EQ(ParsePercent(L"150.25 %"), 100);
    // A point that is not between digits is no decimal separator.
    EXPECT_EQ(ParsePercent(L"ca. 5 %"), 5);
}

TEST(FieldValueColor, TemperatureLimitsDependOnSsd) {
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"72 °C"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"90 °C"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"85 °C"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"45 °C"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"65 °C"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Temperatur", L"65 °C"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Temperatur", L"70 °C"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Temperatur", L"59,9 °C"), GoodColor);
}

TEST(FieldValueColor, LimitLabelsAreNotJudgedAsTemperatures) {
    EXPECT_EQ(FieldValueColor(L"Kritische Temperatur", L"100 °C"), TextColor);
    EXPECT_EQ(FieldValueColor(L"Maximal zulässige SSD-Temperatur", L"75 °C"), TextColor);
    // A temperature label without a number falls through to the later rules.
    EXPECT_EQ(FieldValueColor(L"Temperaturstatus", L"OK"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"Temperatur", L"Nicht gemeldet"), TextColor);
}

TEST(FieldValueColor, LoadLabelsUseTheLoadLevel) {
    EXPECT_EQ(FieldValueColor(L"CPU-Auslastung", L"0 %"), IdleColor);
    EXPECT_EQ(FieldValueColor(L"CPU-Auslastung", L"Nicht gemeldet"), SecondaryTextColor);
    EXPECT_EQ(FieldValueColor(L"Arbeitsspeicher-Auslastung", L"75 %"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"Auslastung", L"95.5 %"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"Auslastung", L"23.4375 %"), GoodColor);
}

TEST(FieldValueColor, RemainingLifeBands) {
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"49 %"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"45 %"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"50 %"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"79 %"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"80 %"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"SSD-Restlebensdauer", L"Nicht gemeldet"), TextColor);
}

TEST(FieldValueColor, StatusWordsOnlyCountForStatusLabels) {
    EXPECT_EQ(FieldValueColor(L"Gesundheitszustand", L"Gut"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"Gesundheitszustand", L"Warnung"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"Gesundheitszustand", L"Kritisch"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"Gesundheitszustand", L"Unbekannt"), TextColor);
    EXPECT_EQ(FieldValueColor(L"Sensor aktiv", L"Ja"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"Sensor aktiv", L"ja"), TextColor);
    EXPECT_EQ(FieldValueColor(L"Lesefehler gesamt", L"0"), TextColor);
    EXPECT_EQ(FieldValueColor(L"Status", L"Deaktiviert"), CriticalColor);
    EXPECT_EQ(FieldValueColor(L"Status", L"Aktiviert"), GoodColor);
    EXPECT_EQ(FieldValueColor(L"Status", L"Beobachten"), WarningColor);
    EXPECT_EQ(FieldValueColor(L"Hersteller", L"Kritisch defekt, Fehler"), TextColor);
    EXPECT_EQ(FieldValueColor(L"Hersteller", L"Ja"), TextColor);
}

TEST(LoadLevelColor, TrafficLightBands) {
    EXPECT_EQ(LoadLevelColor(-1), SecondaryTextColor);
    EXPECT_EQ(LoadLevelColor(0), IdleColor);
    EXPECT_EQ(LoadLevelColor(1), GoodColor);
    EXPECT_EQ(LoadLevelColor(69), GoodColor);
    EXPECT_EQ(LoadLevelColor(70), WarningColor);
    EXPECT_EQ(LoadLevelColor(89), WarningColor);
    EXPECT_EQ(LoadLevelColor(90), CriticalColor);
    EXPECT_EQ(LoadLevelColor(130), CriticalColor);
}

TEST(GradientColor, MatchesReferencePoints) {
    EXPECT_EQ(GradientColor(0), MakeColour(54, 190, 108));
    EXPECT_EQ(GradientColor(1), MakeColour(56, 190, 108));
    EXPECT_EQ(GradientColor(35), MakeColour(149, 190, 77));
    EXPECT_EQ(GradientColor(50), MakeColour(190, 190, 64));
    EXPECT_EQ(GradientColor(70), MakeColour(245, 190, 45));
    EXPECT_EQ(GradientColor(71), MakeColour(245, 187, 45));
    EXPECT_EQ(GradientColor(85), MakeColour(241, 128, 54));
    EXPECT_EQ(GradientColor(100), MakeColour(235, 64, 64));
}

TEST(GradientColor, ClampsPositionsOutsideTheBar) {
    EXPECT_EQ(GradientColor(-20), GoodColor);
    EXPECT_EQ(GradientColor(250), CriticalColor);
}
