#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridax {

// Records stay code page 932 bytes end to end. These convert only what reaches or comes
// from the screen: a round trip is not byte-exact for some characters (0x87 0x90 and
// 0xED 0x40 come back as other codes), so records are never converted.
// Bytes that do not convert become U+FFFD (or '?' towards code page 932).
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// The UTF-8 text of code page 932 bytes that convert and come back as the same bytes, so
// that distinct texts never share a converted form; nothing for any other bytes.
std::optional<std::string> Cp932ToUtf8Exact(std::string_view cp932);

}  // namespace meridax
