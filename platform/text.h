// Small helpers for the fixed-size, zero-terminated text buffers of the suite. Wide text is
// char16_t in portable code; the libraries use 8-bit char. Every copy is bounded by the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace halvard {

// Length of a zero-terminated string, never looking past `cap` characters.
template <typename CharT>
std::size_t BoundedLength(const CharT* s, std::size_t cap) {
  std::size_t n = 0;
  while (n < cap && s[n] != CharT{}) ++n;
  return n;
}

// Copies as much of `src` as fits into `dst[cap]` and terminates it; returns the copied length.
template <typename CharT>
std::size_t CopyText(CharT* dst, std::size_t cap, std::basic_string_view<CharT> src) {
  if (cap == 0) return 0;
  std::size_t n = src.size() < cap - 1 ? src.size() : cap - 1;
  for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = CharT{};
  return n;
}

// ASCII text as either character type (for the fixed texts of the system).
template <typename CharT>
std::basic_string<CharT> Ascii(std::string_view s) {
  return std::basic_string<CharT>(s.begin(), s.end());
}

// Appends `v` in hexadecimal, at least `width` digits, upper or lower case.
template <typename CharT>
void AppendHex(std::basic_string<CharT>& out, std::uint32_t v, int width, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  CharT tmp[8];
  int n = 0;
  do {
    tmp[n++] = static_cast<CharT>(digits[v & 0xF]);
    v >>= 4;
  } while (v != 0 && n < 8);
  for (int i = n; i < width; ++i) out.push_back(static_cast<CharT>('0'));
  while (n > 0) out.push_back(tmp[--n]);
}

template <typename CharT>
void AppendDecimal(std::basic_string<CharT>& out, long long v) {
  if (v < 0) {
    out.push_back(static_cast<CharT>('-'));
    v = -v;
  }
  CharT tmp[24];
  int n = 0;
  do {
    tmp[n++] = static_cast<CharT>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) out.push_back(tmp[--n]);
}

// Lower-cases ASCII letters only, as the registry compares names.
inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

inline std::u16string AsciiLower(std::u16string_view s) {
  std::u16string r(s);
  for (auto& c : r) c = AsciiLower(c);
  return r;
}

// Narrow 8-bit text widened character by character (the libraries' texts are 8-bit).
inline std::u16string Widen(std::string_view s) {
  std::u16string r;
  r.reserve(s.size());
  for (char c : s) r.push_back(static_cast<unsigned char>(c));
  return r;
}

}  // namespace halvard
