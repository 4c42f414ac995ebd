// Text bytes from plug-in files: UTF-8 when they are valid UTF-8, otherwise
// Shift-JIS as Windows writes it (code page 932).
#pragma once
#include <string>
#include <string_view>

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Decodes code page 932 to UTF-8. Bytes that do not decode become U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);

// True when the UTF-8 text can be written in code page 932 (the names the
// simulator on Windows can open); false also for text that is not UTF-8.
bool EncodesInCp932(std::string_view utf8);

// The text to show for bytes read from a file: the bytes themselves when they
// are valid UTF-8, else their code page 932 reading. Never fails.
std::string DisplayText(std::string_view bytes);

// The text with its control characters (any byte below 0x20, and 0x7F) as
// escapes ("\n", "\t", "\r", "\x1B"), so that it stays on one line and
// cannot steer a terminal.
std::string OnOneLine(std::string_view text);

// ASCII letters folded to lower case; every other byte, multi-byte text
// included, compares as it is.
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Whether text ends with tail, ASCII letter case ignored. UTF-8 and code page
// 932 multi-byte characters never hold ASCII letters in their first byte, so
// only whole characters are compared as equal.
bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view tail);
