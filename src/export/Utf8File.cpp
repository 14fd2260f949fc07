#include "export/Utf8File.h"

#include "export/FileReplace.h"

#include <windows.h>

#include <climits>
#include <optional>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kByteOrderMarkSize = 3;

std::optional<std::string> ConvertToUtf8(const std::wstring& text, bool withBom) {
    std::string bytes;
    if (withBom) {
        bytes.assign(kByteOrderMark, kByteOrderMarkSize);
    }
    if (text.empty()) {
        return bytes;
    }
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::nullopt;
    }
    const size_t offset = bytes.size();
    bytes.resize(offset + static_cast<size_t>(needed));
    const int converted =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data() + offset, needed, nullptr, nullptr);
    if (converted != needed) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::string ToUtf8(const std::wstring& text, bool withBom) {
    return ConvertToUtf8(text, withBom).value_or(std::string());
}

bool WriteUtf8File(const std::wstring& path, const std::wstring& text, bool withBom) {
    const std::optional<std::string> bytes = ConvertToUtf8(text, withBom);
    if (!bytes || path.empty()) {
        return false;
    }
    return ReplaceFileWithBytes(path, *bytes) == FileReplaceResult::Written;
}
