#include "export/PdfDocument.h"

#include "export/FileReplace.h"
#include "export/PdfLayout.h"
#include "model/Report.h"

#include <cstdio>
#include <exception>

namespace {

constexpr char kFileHeader[] = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

std::string ContentObject(const std::string& content) {
    return "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream";
}

std::string PageObject(size_t contentId) {
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
           "/Contents " +
           std::to_string(contentId) + " 0 R >>";
}

std::string CrossReferenceEntry(int64_t offset) {
    char line[32];
    std::snprintf(line, sizeof line, "%010lld 00000 n \n", static_cast<long long>(offset));
    return line;
}

}  // namespace

std::string AssemblePdfDocument(const std::vector<PdfPage>& pages) {
    std::vector<std::string> objects = {
        "",
        "<< /Type /Catalog /Pages 2 0 R >>",
        "",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
    };
    std::vector<int32_t> pageIds;
    for (const PdfPage& page : pages) {
        const size_t contentId = objects.size();
        objects.push_back(ContentObject(page.content));
        pageIds.push_back(static_cast<int32_t>(objects.size()));
        objects.push_back(PageObject(contentId));
    }

    std::string kids;
    for (const int32_t id : pageIds) {
        kids += std::to_string(id) + " 0 R ";
    }
    objects[2] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageIds.size()) + " >>";

    size_t total = sizeof kFileHeader + 64 + objects.size() * 40;
    for (const std::string& body : objects) {
        total += body.size();
    }
    std::string document;
    document.reserve(total);
    document += kFileHeader;

    std::vector<int64_t> offsets(objects.size(), 0);
    for (size_t i = 1; i < objects.size(); ++i) {
        offsets[i] = static_cast<int64_t>(document.size());
        document += std::to_string(i) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }

    const size_t xrefOffset = document.size();
    document += "xref\n0 " + std::to_string(objects.size()) + "\n0000000000 65535 f \n";
    for (size_t i = 1; i < objects.size(); ++i) {
        document += CrossReferenceEntry(offsets[i]);
    }
    document += "trailer\n<< /Size " + std::to_string(objects.size()) + " /Root 1 0 R >>\nstartxref\n" +
                std::to_string(xrefOffset) + "\n%%EOF\n";
    return document;
}

bool WritePdfReport(const std::wstring& path, const HardwareReport& report, std::wstring& error, FileSink sink) {
    std::string document;
    // The caller is a window procedure: a report too large for memory must become a failure
    // text, not an exception.
    try {
        std::vector<PdfPage> pages(1);
        DrawReportPages(pages, report);
        document = AssemblePdfDocument(pages);
    } catch (const std::exception&) {
        error = L"Beim Schreiben des PDF-Berichts ist ein Fehler aufgetreten.";
        return false;
    }

    switch (ReplaceFileWithBytes(path, document, sink)) {
    case FileReplaceResult::Written:
        return true;
    case FileReplaceResult::OpenFailed:
        error = L"Die PDF-Datei konnte nicht zum Schreiben geöffnet werden.";
        return false;
    case FileReplaceResult::WriteFailed:
        break;
    }
    error = L"Beim Schreiben des PDF-Berichts ist ein Fehler aufgetreten.";
    return false;
}
