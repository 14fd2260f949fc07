#include "app/Clipboard.h"
#include "ClipboardReader.h"

#include <gtest/gtest.h>

TEST(PutClipboardText, HandsTheWholeTextToTheClipboard) {
    const std::wstring text = L"Prozessor\r\n\r\n[CPU]\r\nTakt: 3600 MHz · Turbo – ä\r\n\r\n";
    ASSERT_TRUE(PutClipboardText(nullptr, text));
    EXPECT_EQ(ReadClipboardText(), text);

    std::wstring large(200000, L'x');
    ASSERT_TRUE(PutClipboardText(nullptr, large));
    EXPECT_EQ(ReadClipboardText(), large);
}

TEST(PutClipboardText, ClipboardHeldElsewhereFailsAndKeepsTheOldText) {
    ASSERT_TRUE(PutClipboardText(nullptr, L"alt"));
    // While this thread holds the clipboard open for a window, opening it for another fails.
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(holder, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_FALSE(PutClipboardText(other, L"neu"));
    CloseClipboard();
    EXPECT_EQ(ReadClipboardText(), L"alt");
    DestroyWindow(other);
    DestroyWindow(holder);
}
