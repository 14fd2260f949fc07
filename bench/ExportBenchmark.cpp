// Times the three exports (TXT, JSON, PDF) on synthetic reports of growing size, through the same
// functions the export commands call, and prints the figures, the memory each export held at its
// peak and a hash of every file it wrote. Run by scripts/bench.sh; never part of the test run.
//
//   velquist_export_bench [--runs N] [--records 1000,10000,100000]

#include "HeapCounter.h"
#include "BenchFile.h"
#include "HostMemory.h"
#include "SyntheticReport.h"

#include "export/JsonReport.h"
#include "export/PdfDocument.h"
#include "export/TextReport.h"
#include "export/Utf8File.h"
#include "model/Version.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Format { Txt, Json, Pdf };

struct FormatInfo {
    Format format;
    const char* name;
    const wchar_t* extension;
};

constexpr FormatInfo kFormats[] = {
    {Format::Txt, "TXT", L".txt"},
    {Format::Json, "JSON", L".json"},
    {Format::Pdf, "PDF", L".pdf"},
};

struct Options {
    int runs = 11;
    // Each run at this size takes seconds before the exports are fast; fewer runs keep it bearable.
    int largeRuns = 5;
    std::vector<size_t> records = {1000, 10000, 100000};
};

struct Result {
    size_t records = 0;
    const char* format = "";
    size_t bytes = 0;
    double medianMs = 0;
    double plainWriteMs = 0;
    size_t heapPeak = 0;
    size_t residentPeak = 0;
    uint64_t hash = 0;
};

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

uint64_t Fnv1a64(const std::string& bytes) {
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    return hash;
}

std::string ReadFileBytes(const std::wstring& path) {
    BenchFile file(path, GENERIC_READ, OPEN_EXISTING);
    std::string bytes;
    LARGE_INTEGER size{};
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size)) {
        return bytes;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        bytes.clear();
    }
    return bytes;
}

bool PlainWrite(const std::wstring& path, const std::string& bytes) {
    BenchFile file(path, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    return file.IsOpen() && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool Export(Format format, const std::wstring& path, const HardwareReport& report) {
    switch (format) {
    case Format::Txt:
        return WriteUtf8File(path, BuildTextReport(report), true);
    case Format::Json:
        return WriteUtf8File(path, BuildJsonReport(report), false);
    case Format::Pdf: {
        std::wstring error;
        return WritePdfReport(path, report, error);
    }
    }
    return false;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue) {
            options.runs = std::max(1, std::atoi(argv[++i]));
            options.largeRuns = std::min(options.largeRuns, options.runs);
        } else if (std::strcmp(argv[i], "--records") == 0 && hasValue) {
            options.records.clear();
            for (const char* at = argv[++i]; *at;) {
                char* end = nullptr;
                const unsigned long long count = std::strtoull(at, &end, 10);
                if (end == at || count == 0) {
                    return false;
                }
                options.records.push_back(static_cast<size_t>(count));
                at = *end == ',' ? end + 1 : end;
            }
        } else {
            return false;
        }
    }
    return !options.records.empty();
}

std::wstring CreateOutputFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    const std::wstring folder = std::wstring(temp) + L"velquist-bench-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    return folder + L"\\";
}

double Megabytes(size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

bool Measure(Format format, const char* name, const std::wstring& path, const std::wstring& plainPath,
             const HardwareReport& report, int runs, const HostMemory& host, Result& result) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        host.ResetPeak();
        const size_t residentBefore = host.ResidentBytes();
        ResetHeapPeak();
        const size_t heapBefore = HeapLiveBytes();
        const double start = NowMs();
        const bool written = Export(format, path, report);
        const double elapsed = NowMs() - start;
        if (!written) {
            std::fprintf(stderr, "%s export of %zu records failed\n", name, result.records);
            return false;
        }
        times.push_back(elapsed);
        result.heapPeak = std::max(result.heapPeak, HeapPeakBytes() - heapBefore);
        const size_t residentPeak = host.PeakResidentBytes();
        if (residentPeak > residentBefore) {
            result.residentPeak = std::max(result.residentPeak, residentPeak - residentBefore);
        }
    }
    result.format = name;
    result.medianMs = Median(times);

    const std::string bytes = ReadFileBytes(path);
    result.bytes = bytes.size();
    result.hash = Fnv1a64(bytes);
    std::vector<double> plainTimes;
    for (int run = 0; run < runs; ++run) {
        const double start = NowMs();
        if (!PlainWrite(plainPath, bytes)) {
            std::fprintf(stderr, "plain write of %zu bytes failed\n", bytes.size());
            return false;
        }
        plainTimes.push_back(NowMs() - start);
    }
    result.plainWriteMs = Median(plainTimes);
    return true;
}

void PrintResult(const Result& r, bool hostAvailable) {
    std::printf("%8zu  %-4s  %10zu  %9.1f  %8.2f  %6.1f  %9.1f  %5.2f", r.records, r.format, r.bytes, r.medianMs,
                r.plainWriteMs, r.plainWriteMs > 0 ? r.medianMs / r.plainWriteMs : 0.0, Megabytes(r.heapPeak),
                static_cast<double>(r.heapPeak) / static_cast<double>(r.bytes));
    if (hostAvailable) {
        std::printf("  %9.1f  %5.2f", Megabytes(r.residentPeak),
                    static_cast<double>(r.residentPeak) / static_cast<double>(r.bytes));
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: velquist_export_bench [--runs N] [--records 1000,10000,100000]\n");
        return 2;
    }
    const std::wstring folder = CreateOutputFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "no folder for the output files\n");
        return 1;
    }
    const HostMemory host;
    const std::string buildDate = ToUtf8(FormatBuildDate(), false);

    std::printf("Velquist export benchmark: build and write each format, median of %d runs (%d from 100,000 records)\n",
                options.runs, options.largeRuns);
    std::printf("Build date in the files: %s. write ms: one plain write of the same bytes; ratio: export / write.\n"
                "heap MB: the most the export's C++ allocations held at once; RSS MB: the most resident memory\n"
                "the export added, as the host sees it; /byte: either per byte written.\n",
                buildDate.c_str());
    std::printf("%8s  %-4s  %10s  %9s  %8s  %6s  %9s  %5s", "records", "fmt", "bytes", "median ms", "write ms",
                "ratio", "heap MB", "/byte");
    if (host.Available()) {
        std::printf("  %9s  %5s", "RSS MB", "/byte");
    }
    std::printf("\n");

    std::vector<Result> results;
    bool ok = true;
    for (const size_t records : options.records) {
        const HardwareReport report = BuildSyntheticReport(records);
        const int runs = records >= 100000 ? options.largeRuns : options.runs;
        for (const FormatInfo& format : kFormats) {
            Result result;
            result.records = records;
            const std::wstring stem = folder + L"report-" + std::to_wstring(records);
            ok = Measure(format.format, format.name, stem + format.extension, stem + L".plain", report, runs, host,
                         result) &&
                 ok;
            DeleteFileW((stem + format.extension).c_str());
            DeleteFileW((stem + L".plain").c_str());
            if (result.bytes > 0) {
                PrintResult(result, host.Available());
                results.push_back(result);
            }
        }
    }
    RemoveDirectoryW(folder.c_str());
    if (!host.Available()) {
        std::printf("Resident memory: not reported (outside Wine, or VELQUIST_BENCH_UNIX_PID unset).\n");
    }

    // How each format's time grows from one size to the next; the plain write shows what a
    // linear pass over the same bytes does on this machine.
    for (size_t i = 0; i < results.size(); ++i) {
        for (size_t j = i + 1; j < results.size(); ++j) {
            if (results[j].format == results[i].format && results[j].records > results[i].records) {
                std::printf("growth %zu -> %zu %-4s: %5.1f-fold (plain write %5.1f-fold)\n", results[i].records,
                            results[j].records, results[i].format, results[j].medianMs / results[i].medianMs,
                            results[j].plainWriteMs / results[i].plainWriteMs);
                break;
            }
        }
    }
    std::printf("FNV-1a 64 of each file (build date %s):\n", buildDate.c_str());
    for (const Result& r : results) {
        std::printf("  %8zu %-4s %016llx\n", r.records, r.format, static_cast<unsigned long long>(r.hash));
    }
    return ok ? 0 : 1;
}
