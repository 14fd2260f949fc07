#include "model/Dedup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ReportRecord Device(std::wstring title, std::initializer_list<ReportField> fields = {}) {
    return ReportRecord{std::move(title), fields};
}

ReportCategory CategoryOf(std::initializer_list<ReportRecord> records) {
    return ReportCategory{L"Laufwerke", records};
}

} // namespace

TEST(RecordsDescribeSameDevice, SerialsMatchAfterNormalisation) {
    const ReportRecord a = Device(L"A", {{L"Seriennummer", L"S3Z8NB0K-123"}});
    const ReportRecord b = Device(L"B", {{L"Seriennummer", L"s3z8nb0k 123"}});
    EXPECT_TRUE(RecordsDescribeSameDevice(a, b));
    EXPECT_TRUE(RecordsDescribeSameDevice(b, a));
}

TEST(RecordsDescribeSameDevice, DifferentSerialsSeparateEqualTitles) {
    const ReportRecord a = Device(L"Samsung SSD 980", {{L"Seriennummer", L"AAAA1"}});
    const ReportRecord b = Device(L"Samsung SSD 980", {{L"Seriennummer", L"BBBB2"}});
    EXPECT_FALSE(RecordsDescribeSameDevice(a, b));
}

TEST(RecordsDescribeSameDevice, ShortIdentitiesLeaveTheDecisionToLaterLabels) {
    // 'abc' is too short to decide; the titles do.
    EXPECT_TRUE(RecordsDescribeSameDevice(Device(L"Crucial MX500", {{L"Seriennummer", L"ABC"}}),
                                          Device(L"Crucial MX500", {{L"Seriennummer", L"XYZ"}})));
    // 'abcd' against 'ab' does not decide either; the MAC address does.
    const ReportRecord a = Device(L"x", {{L"Seriennummer", L"ABCD"}, {L"MAC-Adresse", L"00:11:22:33:44:55"}});
    const ReportRecord b = Device(L"y", {{L"Seriennummer", L"AB"}, {L"MAC-Adresse", L"00-11-22-33-44-55"}});
    EXPECT_TRUE(RecordsDescribeSameDevice(a, b));
    EXPECT_TRUE(RecordsDescribeSameDevice(b, a));
}

TEST(RecordsDescribeSameDevice, FirstDecidingLabelWinsOverLaterOnesAndTitles) {
    const ReportRecord a = Device(L"Adapter eins", {{L"MAC-Adresse", L"AA-BB"}, {L"PnP-Geräte-ID", L"PCI\\1"}});
    const ReportRecord b = Device(L"Adapter zwei", {{L"PnP-Geräte-ID", L"PCI\\2"}, {L"MAC-Adresse", L"aabb"}});
    EXPECT_TRUE(RecordsDescribeSameDevice(a, b));
    const ReportRecord c = Device(L"Same Title", {{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4"}});
    const ReportRecord d = Device(L"Same Title", {{L"Monitor-Hardwarekennung", L"DISPLAY\\GSM5"}});
    EXPECT_FALSE(RecordsDescribeSameDevice(c, d));
}

TEST(RecordsDescribeSameDevice, EveryIdentityLabelDecidesInItsRankWhateverTheFieldOrder) {
    const std::vector<std::wstring> ranked = {L"Seriennummer", L"MAC-Adresse", L"PnP-Geräte-ID", L"Eindeutige ID",
                                              L"System-UUID", L"Windows-Geräteindex", L"Sensor-ID",
                                              L"Monitor-Hardwarekennung"};
    for (size_t i = 0; i < ranked.size(); ++i) {
        // Equal titles would merge; a differing identity keeps the two apart.
        EXPECT_FALSE(RecordsDescribeSameDevice(Device(L"Gleiches Gerät", {{ranked[i], L"WERT-1111"}}),
                                               Device(L"Gleiches Gerät", {{ranked[i], L"WERT-2222"}})))
            << testing::PrintToString(ranked[i]);
        for (size_t j = i + 1; j < ranked.size(); ++j) {
            // The lower-ranked label stands first in the records and disagrees; the higher-ranked one agrees.
            const ReportRecord a = Device(L"Gerät A", {{ranked[j], L"ANDERS-1"}, {ranked[i], L"GLEICH-1"}});
            const ReportRecord b = Device(L"Gerät B", {{ranked[j], L"ANDERS-2"}, {ranked[i], L"gleich 1"}});
            EXPECT_TRUE(RecordsDescribeSameDevice(a, b))
                << testing::PrintToString(ranked[i]) << " before " << testing::PrintToString(ranked[j]);
        }
    }
    // A label outside the list never decides: equal titles merge.
    EXPECT_TRUE(RecordsDescribeSameDevice(Device(L"Gleiches Gerät", {{L"Seriennummer ", L"WERT-1111"}}),
                                          Device(L"Gleiches Gerät", {{L"Seriennummer ", L"WERT-2222"}})));
}

TEST(RecordsDescribeSameDevice, UnknownIdentityIsSkipped) {
    const ReportRecord a = Device(L"WD Blue SN570", {{L"Seriennummer", L"Nicht gemeldet"}});
    const ReportRecord b = Device(L"WD Blue SN570 1TB", {{L"Seriennummer", L"1234567"}});
    EXPECT_TRUE(RecordsDescribeSameDevice(a, b));
}

TEST(RecordsDescribeSameDevice, TitlesNeedFiveCharactersAndContainment) {
    EXPECT_FALSE(RecordsDescribeSameDevice(Device(L"Disk"), Device(L"Disk 2")));
    EXPECT_FALSE(RecordsDescribeSameDevice(Device(L""), Device(L"")));
    EXPECT_TRUE(RecordsDescribeSameDevice(Device(L"Realtek Audio"), Device(L"Realtek Audio Device")));
    EXPECT_TRUE(RecordsDescribeSameDevice(Device(L"Realtek Audio Device"), Device(L"Realtek Audio")));
    EXPECT_FALSE(RecordsDescribeSameDevice(Device(L"Realtek Audio"), Device(L"Intel Audio")));
    // Without blanks one number runs into the next: a title is contained only with its numbers whole.
    EXPECT_FALSE(RecordsDescribeSameDevice(Device(L"Disk #0, Partition #1"), Device(L"Disk #0, Partition #10")));
    EXPECT_FALSE(RecordsDescribeSameDevice(Device(L"Partitionen & Volumes 10"), Device(L"Partitionen & Volumes 1")));
}

TEST(RecordsDescribeSameDevice, MonitorInstancesDecideBeforeEveryIdentityLabel) {
    // Two monitors of one model whose EDIDs carry the same serial text: only Windows' device instance tells them apart.
    const ReportRecord a = Device(L"DELL P2722H", {{L"Seriennummer", L"G97Q093"},
                                                   {L"EDID-Instanz", L"DISPLAY\\DEL4240\\5&2b7f0e5b&0&UID4352_0"}});
    const ReportRecord b = Device(L"DELL P2722H", {{L"Seriennummer", L"G97Q093"},
                                                   {L"EDID-Instanz", L"DISPLAY\\DEL4240\\5&2b7f0e5b&0&UID4353_0"}});
    EXPECT_FALSE(RecordsDescribeSameDevice(a, b));
}

TEST(DeduplicateRecords, LeavesEmptyAndSingleCategoriesAlone) {
    ReportCategory empty = CategoryOf({});
    DeduplicateRecords(empty);
    EXPECT_TRUE(empty.records.empty());
    ReportCategory single = CategoryOf({Device(L"Disk", {{L"a", L"Nicht gemeldet"}})});
    DeduplicateRecords(single);
    ASSERT_EQ(single.records.size(), 1u);
    EXPECT_EQ(single.records[0].fields, (std::vector<ReportField>{{L"a", L"Nicht gemeldet"}}));
}

TEST(DeduplicateRecords, MergesIntoFirstRecordWithLongerTitleAndUnionOfFacts) {
    ReportCategory category = CategoryOf({
        Device(L"Samsung SSD 980 PRO 1TB", {{L"Bus", L"Nicht gemeldet"}, {L"Größe", L"1 TB"}}),
        Device(L"Other Device", {{L"Seriennummer", L"Z1"}}),
        Device(L"NVMe Samsung SSD 980 PRO 1TB", {{L"Bus", L"NVMe"}, {L"Größe", L"931 GiB"}, {L"Temp", L"40 °C"}}),
    });
    DeduplicateRecords(category);
    ASSERT_EQ(category.records.size(), 2u);
    const ReportRecord& merged = category.records[0];
    EXPECT_EQ(merged.title, L"NVMe Samsung SSD 980 PRO 1TB");
    EXPECT_EQ(merged.fields, (std::vector<ReportField>{
                                 {L"Bus", L"NVMe"}, {L"Größe", L"1 TB · 931 GiB"}, {L"Temp", L"40 °C"}}));
    EXPECT_EQ(category.records[1].title, L"Other Device");
}

TEST(DeduplicateRecords, EqualTitleLengthKeepsTheFirstTitle) {
    ReportCategory category = CategoryOf({Device(L"ABCDEF-1", {{L"Seriennummer", L"SER1"}}),
                                          Device(L"abcdef 1", {{L"Seriennummer", L"ser1"}})});
    DeduplicateRecords(category);
    ASSERT_EQ(category.records.size(), 1u);
    EXPECT_EQ(category.records[0].title, L"ABCDEF-1");
}

TEST(DeduplicateRecords, MergesIntoTheFirstOfSeveralMatchingRecords) {
    ReportCategory category = CategoryOf({
        Device(L"Realtek Audio", {{L"PnP-Geräte-ID", L"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0897\\1"}}),
        Device(L"Realtek Audio", {{L"PnP-Geräte-ID", L"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0897\\2"}}),
        Device(L"Realtek Audio Device", {{L"Treiber", L"RTKVHD64.sys"}}),
    });
    DeduplicateRecords(category);
    ASSERT_EQ(category.records.size(), 2u);
    EXPECT_EQ(GetFieldValue(category.records[0], L"Treiber"), L"RTKVHD64.sys");
    EXPECT_EQ(category.records[1].fields.size(), 1u);
}

TEST(DeduplicateRecords, APlaceholderTitleNeverReplacesARealName) {
    ReportCategory category = CategoryOf({Device(L"DELL P2722H", {{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4240"}}),
                                          Device(L"Generischer PnP-Monitor",
                                                 {{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4240"}})});
    DeduplicateRecords(category);
    ASSERT_EQ(category.records.size(), 1u);
    EXPECT_EQ(category.records[0].title, L"DELL P2722H");
}

TEST(DeduplicateRecords, MergesChainThroughFactBroughtByEarlierRecord) {
    // R3 shares nothing with R1 as it was, only the MAC address that R2 brought into R1.
    ReportCategory category = CategoryOf({
        Device(L"Eins", {{L"Seriennummer", L"SER-0001"}}),
        Device(L"Zwei", {{L"Seriennummer", L"SER-0001"}, {L"MAC-Adresse", L"AA:BB:CC:DD"}}),
        Device(L"Drei", {{L"MAC-Adresse", L"aabbccdd"}, {L"Treiber", L"x.sys"}}),
    });
    DeduplicateRecords(category);
    ASSERT_EQ(category.records.size(), 1u);
    EXPECT_EQ(GetFieldValue(category.records[0], L"Treiber"), L"x.sys");
    EXPECT_EQ(GetFieldValue(category.records[0], L"MAC-Adresse"), L"AA:BB:CC:DD");
}
