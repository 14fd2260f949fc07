#include "wmi/WmiSession.h"

#include "wmi/ComApartment.h"
#include "wmi/WmiRecording.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WmiSessionTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(com.Result())); }

    ComApartment com;
};

const std::wstring kMissingNamespace = L"ROOT\\CIMV2\\Security\\MicrosoftTpm";
const std::wstring kRejectedQuery = L"SELECT * FROM Win32_PnPEntity WHERE Present=True";

} // namespace

TEST_F(WmiSessionTest, MissingNamespaceLeavesSessionUnconnectedWithItsError) {
    WmiSession session(kMissingNamespace);
    EXPECT_FALSE(session.IsConnected());
    const std::wstring expected = L"WMI-Namespace " + kMissingNamespace + L" nicht erreichbar: " +
                                  FormatHResult(static_cast<HRESULT>(0x8004100E));
    EXPECT_EQ(session.LastError(), expected);
    EXPECT_EQ(session.LastError().rfind(L"WMI-Namespace ROOT\\CIMV2\\Security\\MicrosoftTpm nicht erreichbar: "
                                        L"0x8004100E \u2013 ", 0),
              0u);

    EXPECT_TRUE(session.Query(L"SELECT * FROM Win32_Tpm", {L"IsEnabled_InitialValue"}).empty());
    EXPECT_EQ(session.LastError(), expected);
}

TEST_F(WmiSessionTest, ConnectsToTheStandardNamespaces) {
    for (const wchar_t* path : {L"ROOT\\CIMV2", L"ROOT\\WMI", L"ROOT\\Microsoft\\Windows\\Storage"}) {
        WmiSession session(path);
        EXPECT_TRUE(session.IsConnected()) << path;
        EXPECT_EQ(session.LastError(), L"") << path;
    }
}

TEST_F(WmiSessionTest, OpenNamespaceConnectsTheGivenNamespaceLikeItsOwnSession) {
    const WmiSession wmi(L"ROOT\\CIMV2");
    const std::unique_ptr<WmiSession> missing = wmi.OpenNamespace(kMissingNamespace);
    EXPECT_FALSE(missing->IsConnected());
    EXPECT_EQ(missing->LastError(), WmiSession(kMissingNamespace).LastError());
    const std::unique_ptr<WmiSession> thermal = wmi.OpenNamespace(L"ROOT\\WMI");
    EXPECT_TRUE(thermal->IsConnected());
    EXPECT_EQ(thermal->LastError(), L"");
}

TEST_F(WmiSessionTest, RejectedQueryReportsCodeAndQueryText) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    EXPECT_TRUE(session.Query(kRejectedQuery, {L"Name"}).empty());
    EXPECT_EQ(session.LastError(),
              L"WMI-Abfrage fehlgeschlagen: 0x80041001 \u2013 IDispatch error #3585 | " + kRejectedQuery);

    const std::wstring malformed = L"SELECT FROM WHERE";
    EXPECT_TRUE(session.Query(malformed, {L"Name"}).empty());
    EXPECT_EQ(session.LastError().rfind(L"WMI-Abfrage fehlgeschlagen: 0x", 0), 0u);
    EXPECT_EQ(session.LastError().substr(session.LastError().size() - malformed.size() - 3), L" | " + malformed);
}

TEST_F(WmiSessionTest, QueryWithoutInstancesGivesNoRowsAndClearsEarlierError) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    session.Query(kRejectedQuery, {L"Name"});
    ASSERT_FALSE(session.LastError().empty());

    EXPECT_TRUE(session.Query(L"SELECT * FROM Win32_Battery", {L"Name"}).empty());
    EXPECT_EQ(session.LastError(), L"");
}

TEST_F(WmiSessionTest, RowHoldsRequestedPropertiesUnderTheRequestedNames) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    const std::vector<WmiRow> rows = session.Query(
        L"SELECT * FROM Win32_OperatingSystem", {L"Caption", L"NoSuchProperty", L"Caption", L"version"});
    EXPECT_EQ(session.LastError(), L"");
    ASSERT_EQ(rows.size(), 1u);
    const WmiRow& row = rows[0];
    EXPECT_EQ(row.size(), 2u);
    EXPECT_EQ(row.count(L"NoSuchProperty"), 0u);
    EXPECT_EQ(GetRowValue(row, L"NoSuchProperty", L"fallback"), L"fallback");
    EXPECT_FALSE(GetRowValue(row, L"Caption", L"").empty());
    // WMI matches names regardless of case, the row keeps the caller's spelling.
    EXPECT_FALSE(GetRowValue(row, L"version", L"").empty());
    EXPECT_EQ(row.count(L"Version"), 0u);
}

TEST_F(WmiSessionTest, RowsComeInDeliveryOrderWithEveryInstance) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    const std::vector<WmiRow> disks = session.Query(L"SELECT * FROM Win32_LogicalDisk", {L"DeviceID"});
    EXPECT_EQ(session.LastError(), L"");
    ASSERT_GE(disks.size(), 1u);
    for (const WmiRow& disk : disks) {
        const std::wstring id = GetRowValue(disk, L"DeviceID", L"");
        EXPECT_EQ(id.size(), 2u);
        EXPECT_EQ(id.back(), L':');
    }
}

TEST_F(WmiSessionTest, SessionsOnOneThreadAreIndependent) {
    WmiSession first(L"ROOT\\CIMV2");
    WmiSession second(L"ROOT\\CIMV2");
    WmiSession missing(kMissingNamespace);
    first.Query(kRejectedQuery, {L"Name"});
    EXPECT_EQ(second.Query(L"SELECT * FROM Win32_ComputerSystem", {L"Name"}).size(), 1u);
    EXPECT_EQ(second.LastError(), L"");
    EXPECT_FALSE(first.LastError().empty());
    EXPECT_FALSE(missing.IsConnected());
}

TEST_F(WmiSessionTest, NullValueIsPresentWithEmptyText) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    // Wine leaves these two BIOS properties NULL.
    const std::vector<WmiRow> rows =
        session.Query(L"SELECT * FROM Win32_BIOS", {L"IdentificationCode", L"CurrentLanguage"});
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].count(L"IdentificationCode"), 1u);
    EXPECT_EQ(rows[0].at(L"IdentificationCode"), L"");
    EXPECT_EQ(GetRowValue(rows[0], L"IdentificationCode", L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(rows[0].count(L"CurrentLanguage"), 1u);
}

TEST_F(WmiSessionTest, IntegerArrayPropertyReadsAsText) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    const std::vector<WmiRow> rows = session.Query(L"SELECT * FROM Win32_SystemEnclosure", {L"ChassisTypes"});
    ASSERT_EQ(rows.size(), 1u);
    // Wine delivers a wrong number here, so only its form is checked.
    const std::wstring types = GetRowValue(rows[0], L"ChassisTypes", L"");
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.find_first_not_of(L"0123456789; "), std::wstring::npos);
}

TEST_F(WmiSessionTest, Uint32ReadsAsItsUnsignedValue) {
    WmiSession session(L"ROOT\\CIMV2");
    ASSERT_TRUE(session.IsConnected());
    // Under Xvfb Wine reports 0xFFF00000 bytes of adapter memory, which the signed VT_I4 makes negative.
    const std::vector<WmiRow> rows = session.Query(L"SELECT * FROM Win32_VideoController", {L"AdapterRAM"});
    ASSERT_GE(rows.size(), 1u);
    for (const WmiRow& row : rows) {
        const std::wstring memory = GetRowValue(row, L"AdapterRAM", L"");
        ASSERT_FALSE(memory.empty());
        EXPECT_EQ(memory.find_first_not_of(L"0123456789"), std::wstring::npos) << testing::PrintToString(memory);
    }
}

TEST(WmiRecording, ReplaysUnsignedValuesAsALiveSessionReadsThem) {
    // A graphics adapter with 4 GiB as Windows answers for it: AdapterRAM, a uint32, in VT_I4.
    RecordedValue adapterRam;
    adapterRam.cimType = CIM_UINT32;
    adapterRam.value.vt = VT_I4;
    adapterRam.value.lVal = -1048576;
    WmiRecording recording;
    recording.answers.push_back(
        {L"ROOT\\CIMV2", L"SELECT * FROM Win32_VideoController", {{{L"AdapterRAM", adapterRam}}}});
    WmiSession session(L"ROOT\\CIMV2", recording);
    const std::vector<WmiRow> rows = session.Query(L"SELECT * FROM Win32_VideoController", {L"AdapterRAM"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(GetRowValue(rows[0], L"AdapterRAM", L""), L"4293918720");
}
