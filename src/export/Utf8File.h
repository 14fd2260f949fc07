#pragma once

// Saving the text and JSON reports as UTF-8 files.

#include <string>

// The UTF-8 bytes of the text, after EF BB BF when withBom is set. Lone surrogates become
// EF BF BD as the platform converts them. Empty (not even the mark) only if the platform
// refuses the conversion, which a text of fewer than 2^31 units never causes.
std::string ToUtf8(const std::wstring& text, bool withBom);

// True only when the whole file is on disk under path. The bytes go to a temporary file beside
// the target first, so on any failure the target keeps its earlier content and nothing is left.
bool WriteUtf8File(const std::wstring& path, const std::wstring& text, bool withBom);
