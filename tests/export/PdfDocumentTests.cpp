#include "export/PdfDocument.h"

#include "PdfTestReports.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<PdfPage> PagesWith(std::vector<std::string> contents) {
    std::vector<PdfPage> pages;
    for (std::string& content : contents) {
        pages.emplace_back();
        pages.back().content = std::move(content);
    }
    return pages;
}

// The cross-reference table's offsets, read back from the document text.
std::vector<long long> XrefOffsets(const std::string& document, size_t xref, size_t count) {
    std::vector<long long> offsets;
    // Past "xref", the count line and the free entry of object 0.
    size_t line = document.find('\n', document.find('\n', xref) + 1) + 1 + 20;
    for (size_t i = 0; i < count; ++i, line += 20) {
        offsets.push_back(std::atoll(document.substr(line, 10).c_str()));
    }
    return offsets;
}

}  // namespace

TEST(PdfPrimitives, FilledRectangleIsOneLine) {
    PdfPage page;
    FillPdfRect(page, 0, 792, 595, 50, 0.08, 0.3, 0.62);
    EXPECT_EQ(page.content, "0.08 0.3 0.62 rg 0 792 595 50 re f\n");
}

TEST(PdfPrimitives, StrokedLineSetsColourAndWidthFirst) {
    PdfPage page;
    StrokeLine(page, 1.5, 2, 3, 4.25, 1.4, 0.28, 0.78, 0.94);
    EXPECT_EQ(page.content, "0.28 0.78 0.94 RG 1.4 w 1.5 2 m 3 4.25 l S\n");
}

TEST(PdfPrimitives, CircleRunsFourCurvesCounterClockwise) {
    PdfPage page;
    DrawCircle(page, 43, 100, 8, 0.22, 0.76, 0.94, true, 1);
    EXPECT_EQ(page.content,
              "0.22 0.76 0.94 rg 1 w 51 100 m "
              "51 104.418 47.4183 108 43 108 c "
              "38.5817 108 35 104.418 35 100 c "
              "35 95.5817 38.5817 92 43 92 c "
              "47.4183 92 51 95.5817 51 100 c f\n");
}

TEST(PdfPrimitives, StrokedCircleUsesStrokeColourAndEndsInStroke) {
    PdfPage page;
    DrawCircle(page, 10, 10, 2, 0.1, 0.46, 0.91, false, 2.5);
    EXPECT_EQ(page.content.rfind("0.1 0.46 0.91 RG 2.5 w 12 10 m ", 0), 0u);
    EXPECT_TRUE(EndsWith(page.content, " 12 10 c S\n"));
}

TEST(PdfPrimitives, TextIsOneTextObjectWithAnAbsolutePosition) {
    PdfPage page;
    DrawPdfText(page, 75, 818, 18, L"Velquist", 1, 1, 1, "F2");
    DrawPdfText(page, 50, 100.5, 7.5, L"Größe (C:\\)\n", 0.32, 0.37, 0.44, "F1");
    EXPECT_EQ(page.content,
              "BT /F2 18 Tf 1 1 1 rg 75 818 Td (Velquist) Tj ET\n"
              "BT /F1 7.5 Tf 0.32 0.37 0.44 rg 50 100.5 Td (Gr\xF6\xDF" "e \\(C:\\\\\\)) Tj ET\n");
}

TEST(AssemblePdfDocument, OnePageFileHasSixObjectsAndAConsistentTable) {
    const std::string content = "0 0 0 rg 1 2 3 4 re f\n";
    const std::string document = AssemblePdfDocument(PagesWith({content}));

    ASSERT_GE(document.size(), 15u);
    EXPECT_EQ(document.substr(0, 15), std::string("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", 15));

    size_t previous = 0;
    for (int i = 1; i <= 6; ++i) {
        const std::string opening = std::to_string(i) + " 0 obj\n";
        const size_t at = document.find('\n' + opening);
        ASSERT_NE(at, std::string::npos) << i;
        EXPECT_GT(at, previous) << "object " << i << " out of order";
        previous = at;
    }
    EXPECT_EQ(document.find("\n7 0 obj\n"), std::string::npos);

    const size_t xref = document.find("\nxref\n") + 1;
    ASSERT_NE(xref, 0u);
    EXPECT_EQ(document.compare(xref, 29, "xref\n0 7\n0000000000 65535 f \n"), 0);
    const std::vector<long long> offsets = XrefOffsets(document, xref, 6);
    for (size_t i = 0; i < offsets.size(); ++i) {
        const std::string opening = std::to_string(i + 1) + " 0 obj\n";
        EXPECT_EQ(document.compare(static_cast<size_t>(offsets[i]), opening.size(), opening), 0) << "object " << i + 1;
    }
    const size_t trailer = xref + 5 + 4 + 20 * 7;
    EXPECT_EQ(document.compare(trailer, std::string::npos,
                               "trailer\n<< /Size 7 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n"),
              0);
}

TEST(AssemblePdfDocument, ObjectsCarryTheCatalogFontsAndPages) {
    const std::string document = AssemblePdfDocument(PagesWith({"x\n"}));
    EXPECT_NE(document.find("1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"), std::string::npos);
    EXPECT_NE(document.find("2 0 obj\n<< /Type /Pages /Kids [6 0 R ] /Count 1 >>\nendobj\n"), std::string::npos);
    EXPECT_NE(document.find("3 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                            "/Encoding /WinAnsiEncoding >>\nendobj\n"),
              std::string::npos);
    EXPECT_NE(document.find("4 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold "
                            "/Encoding /WinAnsiEncoding >>\nendobj\n"),
              std::string::npos);
    EXPECT_NE(document.find("5 0 obj\n<< /Length 2 >>\nstream\nx\nendstream\nendobj\n"), std::string::npos);
    EXPECT_NE(document.find("6 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font "
                            "<< /F1 3 0 R /F2 4 0 R >> >> /Contents 5 0 R >>\nendobj\n"),
              std::string::npos);
}

TEST(AssemblePdfDocument, StreamLengthCountsBytesNotCharacters) {
    const std::string content = "BT (\xF6\xDF\x80) Tj ET\n";
    const std::string document = AssemblePdfDocument(PagesWith({content}));
    EXPECT_NE(document.find("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream"),
              std::string::npos);
}

TEST(AssemblePdfDocument, EveryPageGetsAContentAndAPageObject) {
    const std::string document = AssemblePdfDocument(PagesWith({"a\n", "bb\n", "ccc\n"}));
    EXPECT_NE(document.find("<< /Type /Pages /Kids [6 0 R 8 0 R 10 0 R ] /Count 3 >>"), std::string::npos);
    EXPECT_NE(document.find("7 0 obj\n<< /Length 3 >>\nstream\nbb\nendstream"), std::string::npos);
    EXPECT_NE(document.find("/Contents 9 0 R >>\nendobj\n"), std::string::npos);
    EXPECT_NE(document.find("xref\n0 11\n"), std::string::npos);
    EXPECT_NE(document.find("/Size 11 /Root"), std::string::npos);

    const size_t xref = document.find("xref\n");
    const std::vector<long long> offsets = XrefOffsets(document, xref, 10);
    for (size_t i = 0; i < offsets.size(); ++i) {
        const std::string opening = std::to_string(i + 1) + " 0 obj\n";
        EXPECT_EQ(document.compare(static_cast<size_t>(offsets[i]), opening.size(), opening), 0) << "object " << i + 1;
    }
}
