#include "app/CategoryText.h"

#include <gtest/gtest.h>

TEST(BuildCategoryClipboardText, WritesRecordsWithCrLfAndKeepsEmptyTitles) {
    ReportCategory category{L"Netzwerk",
                            {{L"Intel Ethernet", {{L"MAC-Adresse", L"00:11"}, {L"Status", L"Verbunden"}}},
                             {L"", {{L"Hinweis", L"a: b"}}}}};
    EXPECT_EQ(BuildCategoryClipboardText(category),
              L"Netzwerk\r\n\r\n"
              L"[Intel Ethernet]\r\nMAC-Adresse: 00:11\r\nStatus: Verbunden\r\n\r\n"
              L"[]\r\nHinweis: a: b\r\n\r\n");
}

TEST(BuildCategoryClipboardText, CategoryWithoutRecordsIsItsNameAndOneBlankLine) {
    EXPECT_EQ(BuildCategoryClipboardText(ReportCategory{L"Akku", {}}), L"Akku\r\n\r\n");
}
