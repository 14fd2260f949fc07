#include "export/PdfDocument.h"

#include "export/FileReplace.h"
#include "export/PdfLayout.h"
#include "model/Report.h"

#include <cstdio>
#include <exception>

namespace {

constexpr char kFileHeader[] = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

// An object's body as it stands in the file. A content stream's body is its dictionary, then
// the page's content and "endstream"; the content is taken from the page when the file text is
// written, so its bytes are copied once, not once per step of the assembly.
struct ObjectBody {
    std::string text;
    const std::string* stream = nullptr;
};

ObjectBody ContentObject(const std::string& content) {
    return {"<< /Length " + std::to_string(content.size()) + " >>\nstream\n", &content};
}

std::string PageObject(size_t contentId) {
    return "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
           "/Contents " +
           std::to_string(contentId) + " 0 R >>";
}

constexpr char kStreamEnd[] = "endstream";

size_t BodySize(const ObjectBody& body) {
    return body.text.size() + (body.stream ? body.stream->size() + sizeof kStreamEnd - 1 : 0);
}

void AppendBody(std::string& document, const ObjectBody& body) {
    document += body.text;
    if (body.stream) {
        document += *body.stream;
        document += kStreamEnd;
    }
}

void AppendCrossReferenceEntry(std::string& document, int64_t offset) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%010lld 00000 n \n", static_cast<long long>(offset));
    document.append(line, static_cast<size_t>(length));
}

}  // namespace

std::string AssemblePdfDocument(const std::vector<PdfPage>& pages) {
    std::vector<ObjectBody> objects = {
        {""},
        {"<< /Type /Catalog /Pages 2 0 R >>"},
        {""},
        {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"},
        {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>"},
    };
    objects.reserve(objects.size() + 2 * pages.size());
    std::vector<int32_t> pageIds;
    pageIds.reserve(pages.size());
    for (const PdfPage& page : pages) {
        const size_t contentId = objects.size();
        objects.push_back(ContentObject(page.content));
        pageIds.push_back(static_cast<int32_t>(objects.size()));
        objects.push_back({PageObject(contentId)});
    }

    std::string kids;
    for (const int32_t id : pageIds) {
        kids += std::to_string(id);
        kids += " 0 R ";
    }
    objects[2].text = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageIds.size()) + " >>";

    // Room for every byte, so the document, the largest string of an export, is never regrown:
    // per object at most 20 digits of its number, " 0 obj\n", "\nendobj\n" and a 20-byte
    // cross-reference line; the rest of the table and the trailer take less than 128 bytes.
    size_t total = sizeof kFileHeader + 128;
    for (const ObjectBody& body : objects) {
        total += BodySize(body) + 20 + 7 + 8 + 20;
    }
    std::string document;
    document.reserve(total);
    document += kFileHeader;

    std::vector<int64_t> offsets(objects.size(), 0);
    for (size_t i = 1; i < objects.size(); ++i) {
        offsets[i] = static_cast<int64_t>(document.size());
        document += std::to_string(i);
        document += " 0 obj\n";
        AppendBody(document, objects[i]);
        document += "\nendobj\n";
    }

    const size_t xrefOffset = document.size();
    document += "xref\n0 ";
    document += std::to_string(objects.size());
    document += "\n0000000000 65535 f \n";
    for (size_t i = 1; i < objects.size(); ++i) {
        AppendCrossReferenceEntry(document, offsets[i]);
    }
    document += "trailer\n<< /Size ";
    document += std::to_string(objects.size());
    document += " /Root 1 0 R >>\nstartxref\n";
    document += std::to_string(xrefOffset);
    document += "\n%%EOF\n";
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
