#include "knowledge/DeviceProfiles.h"
#include "knowledge/KnowledgeBase.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const DeviceProfile& ProfileWithPattern(const std::wstring& pattern) {
    for (const DeviceProfile& profile : DeviceProfiles()) {
        for (const std::wstring& candidate : profile.patterns) {
            if (candidate == pattern) {
                return profile;
            }
        }
    }
    static const DeviceProfile none;
    ADD_FAILURE() << "no profile with pattern " << std::string(pattern.begin(), pattern.end());
    return none;
}

std::wstring ProfileValue(const std::wstring& pattern, const std::wstring& label) {
    for (const ReportField& field : ProfileWithPattern(pattern).fields) {
        if (field.first == label) {
            return field.second;
        }
    }
    return {};
}

} // namespace

TEST(DeviceProfiles, TableIsBuiltOnceAndHasItsShape) {
    const auto& profiles = DeviceProfiles();
    EXPECT_EQ(&profiles, &DeviceProfiles());
    ASSERT_EQ(profiles.size(), 56u);
    size_t patterns = 0;
    size_t fields = 0;
    for (const DeviceProfile& profile : profiles) {
        EXPECT_GE(profile.patterns.size(), 1u);
        EXPECT_LE(profile.patterns.size(), 3u);
        EXPECT_GE(profile.fields.size(), 2u);
        EXPECT_LE(profile.fields.size(), 6u);
        patterns += profile.patterns.size();
        fields += profile.fields.size();
    }
    EXPECT_EQ(patterns, 69u);
    EXPECT_EQ(fields, 145u);
}

TEST(DeviceProfiles, CategoriesStandTogetherInTheirOrder) {
    const std::vector<std::pair<std::wstring, size_t>> expected{
        {L"Arbeitsspeicher", 5}, {L"Monitore", 5},  {L"Eingabegeräte", 7},      {L"Kameras & Scanner", 4},
        {L"Prozessor", 8},       {L"Laufwerke", 12}, {L"Optische Laufwerke", 2}, {L"Bluetooth", 2},
        {L"Netzwerk", 7},        {L"Audio & Headsets", 4},
    };
    std::vector<std::pair<std::wstring, size_t>> runs;
    for (const DeviceProfile& profile : DeviceProfiles()) {
        if (runs.empty() || runs.back().first != profile.category) {
            runs.emplace_back(profile.category, 0);
        }
        ++runs.back().second;
    }
    EXPECT_EQ(runs, expected);
}

TEST(DeviceProfiles, EveryPatternCanMatchAndLabelsAreKnownAndUnique) {
    const std::set<std::wstring> knownLabels{
        L"Profil: Organisation", L"Profil: Timing", L"Profil: Bauart", L"Profil: Kit", L"Profil: Kapazität",
        L"Profil: Hersteller", L"Profil: Modell", L"Profil: Gerätetyp", L"Profil: Native Auflösung",
        L"Profil: Bildfrequenz", L"Profil: Anschlüsse", L"Profil: Panel", L"Profil: Geräteart", L"Profil: Layout",
        L"Profil: Verbindung", L"Profil: Zusatzfunktion", L"Profil: Sensorauflösung", L"Profil: Video",
        L"Profil: Audio", L"Profil: Besonderheit", L"Profil: Generation", L"Profil: Kernausbau", L"Profil: Sockel",
        L"Profil: Architektur", L"Profil: Schnittstelle", L"Profil: Formfaktor", L"Profil: Nenndrehzahl",
        L"Profilhinweis", L"Profil: Medien", L"Profil: Standard", L"Profil: WLAN", L"Profil: Geschwindigkeit",
    };
    ASSERT_EQ(knownLabels.size(), 32u);
    std::set<std::wstring> usedLabels;
    for (const DeviceProfile& profile : DeviceProfiles()) {
        for (const std::wstring& pattern : profile.patterns) {
            EXPECT_FALSE(NormalizeKey(pattern).empty());
        }
        std::set<std::wstring> labels;
        for (const ReportField& field : profile.fields) {
            EXPECT_TRUE(knownLabels.contains(field.first));
            EXPECT_TRUE(labels.insert(field.first).second) << "label repeats";
            EXPECT_FALSE(field.second.empty());
            EXPECT_EQ(field.second.find(L"  "), std::wstring::npos);
            usedLabels.insert(field.first);
        }
    }
    EXPECT_EQ(usedLabels, knownLabels);
}

TEST(DeviceProfiles, ValuesKeepTheirSpecialCharacters) {
    EXPECT_EQ(ProfileValue(L"F4-3200C16D-32GVK", L"Profil: Kit"), L"32 GB (2 × 16 GB)");
    EXPECT_EQ(ProfileValue(L"CT16G4DFRA32A", L"Profil: Bauart"), L"Non-ECC · Unbuffered UDIMM · 1,2 V");
    EXPECT_EQ(ProfileValue(L"GH24NSD5", L"Profil: Medien"), L"DVD±R/RW · CD-R/RW");
    EXPECT_EQ(ProfileValue(L"BW-16D1HT", L"Profil: Medien"), L"BD-R/RE · DVD±R/RW · CD-R/RW");
    EXPECT_EQ(ProfileValue(L"MX Master 3S", L"Profil: Sensorauflösung"), L"bis 8.000 dpi");
    EXPECT_EQ(ProfileValue(L"Logitech M185", L"Profil: Verbindung"), L"2,4-GHz-USB-Empfänger");
    EXPECT_EQ(ProfileValue(L"MX Keys", L"Profil: Verbindung"), L"Bluetooth Low Energy · Logi Bolt/Unifying modellabhängig");
    EXPECT_EQ(ProfileValue(L"Intel Wi-Fi 6E AX210", L"Profil: WLAN"), L"Wi-Fi 6E · 2×2 · 6-GHz-Band");
    EXPECT_EQ(ProfileValue(L"Samsung SSD 990 PRO", L"Profil: Schnittstelle"), L"PCIe 4.0 ×4 · NVMe");
    EXPECT_EQ(ProfileValue(L"ST2000DM008", L"Profil: Nenndrehzahl"), L"7.200 U/min");
    EXPECT_EQ(ProfileValue(L"LG 27GP850", L"Profil: Bildfrequenz"), L"bis 165 Hz, OC bis 180 Hz");
    EXPECT_EQ(ProfileValue(L"Intel(R) Core(TM) i7-14700K", L"Profil: Generation"),
              L"Intel Core 14. Generation · Raptor Lake Refresh");
    EXPECT_EQ(ProfileValue(L"Jabra Evolve2 65", L"Profil: Besonderheit"),
              L"Boom-Mikrofon · aktive Geräuschunterdrückung modellabhängig");
}

TEST(DeviceProfiles, PatternsKeepTheirWrittenForm) {
    EXPECT_EQ(ProfileWithPattern(L"VID_046D&PID_082D").category, L"Kameras & Scanner");
    EXPECT_EQ(ProfileWithPattern(L"KF432C16BB/16").category, L"Arbeitsspeicher");
    EXPECT_EQ(ProfileWithPattern(L"DELA20B").patterns.front(), L"Dell U2723QE");
    EXPECT_EQ(ProfileWithPattern(L"Generic SD").patterns, (std::vector<std::wstring>{L"Generic SD", L"SD/MMC", L"SDXC"}));
    EXPECT_EQ(ProfileWithPattern(L"Intel Ethernet Controller I226-V").fields.size(), 2u);
}
