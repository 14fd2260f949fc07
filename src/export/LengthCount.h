#pragma once

// Stands in for the output string while a report is measured: the writers run once on this and
// once on the string reserved to the measured length, so the document is never regrown. A text
// grown step by step from a small start holds up to three times its size while it regrows.

#include <cstddef>
#include <cwchar>
#include <string>

class LengthCount {
public:
    LengthCount& operator+=(const std::wstring& text) {
        size_ += text.size();
        return *this;
    }
    LengthCount& operator+=(const wchar_t* text) {
        size_ += std::wcslen(text);
        return *this;
    }
    LengthCount& operator+=(wchar_t) {
        ++size_;
        return *this;
    }
    LengthCount& append(size_t count, wchar_t) {
        size_ += count;
        return *this;
    }
    void Add(size_t count) { size_ += count; }
    size_t size() const { return size_; }

private:
    size_t size_ = 0;
};

// Runs `write` once to measure and once into a string reserved to that length.
template <class Write>
std::wstring BuildMeasured(Write write) {
    LengthCount length;
    write(length);
    std::wstring out;
    out.reserve(length.size());
    write(out);
    return out;
}
