#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <stdexcept>

namespace meridax {
namespace {

// With no replacement, nothing when a sequence does not convert.
std::optional<std::string> Convert(std::string_view in, const char* to, const char* from,
                                   std::optional<std::string_view> replacement) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
  }
  std::string out;
  out.reserve(in.size() * 3 / 2 + 8);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char chunk[4096];
  while (srcLeft > 0) {
    char* dst = chunk;
    std::size_t dstLeft = sizeof chunk;
    const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(chunk, static_cast<std::size_t>(dst - chunk));
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (!replacement) {
        ::iconv_close(cd);
        return std::nullopt;
      }
      // An invalid or cut-off sequence: replace one byte and go on.
      out.append(*replacement);
      ++src;
      --srcLeft;
      ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  ::iconv_close(cd);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  return *Convert(cp932, "UTF-8", "CP932", "\xEF\xBF\xBD");
}

std::string Utf8ToCp932(std::string_view utf8) {
  return *Convert(utf8, "CP932", "UTF-8", "?");
}

std::optional<std::string> Cp932ToUtf8Exact(std::string_view cp932) {
  auto utf8 = Convert(cp932, "UTF-8", "CP932", std::nullopt);
  if (!utf8) return std::nullopt;
  const auto back = Convert(*utf8, "CP932", "UTF-8", std::nullopt);
  if (!back || *back != cp932) return std::nullopt;
  return utf8;
}

}  // namespace meridax
