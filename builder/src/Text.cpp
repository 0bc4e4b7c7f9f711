#include "Text.h"

#include <cstdint>

namespace builder {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the Windows-1252 bytes 0x80 to 0x9F.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Strict decoder: rejects overlong forms, surrogates and values above U+10FFFF.
bool nextCodePoint(std::string_view s, std::size_t& i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t lead = byte(i);
  int extra;
  char32_t min;
  if (lead < 0x80) {
    cp = lead;
    ++i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, min = 0x80, cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, min = 0x800, cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, min = 0x10000, cp = lead & 0x07;
  } else {
    return false;
  }
  if (s.size() - i <= static_cast<std::size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    const uint8_t next = byte(i + k);
    if ((next & 0xC0) != 0x80) return false;
    cp = cp << 6 | (next & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i += extra + 1;
  return true;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void appendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

}  // namespace

bool utf8ToCp1252(std::string_view utf8, std::string& out, char32_t& offending) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    if (!nextCodePoint(utf8, i, cp)) {
      offending = kReplacement;
      return false;
    }
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    bool found = false;
    for (int k = 0; k < 32 && !found; ++k) {
      if (kCp1252High[k] == cp) {
        out += static_cast<char>(0x80 + k);
        found = true;
      }
    }
    if (!found) {
      offending = cp;
      return false;
    }
  }
  return true;
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    appendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

bool utf8ToUtf16le(std::string_view utf8, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    if (!nextCodePoint(utf8, i, cp)) return false;
    if (cp < 0x10000) {
      appendUnit(out, cp);
    } else {
      appendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
      appendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return true;
}

std::string utf16leToUtf8(std::string_view bytes, bool& exact) {
  exact = bytes.size() % 2 == 0;
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t k) -> char32_t {
    return static_cast<uint8_t>(bytes[2 * k]) | static_cast<uint8_t>(bytes[2 * k + 1]) << 8;
  };
  std::string out;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
        unit(k + 1) <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      appendUtf8(out, kReplacement);
      exact = false;
    } else {
      appendUtf8(out, u);
    }
  }
  return out;
}

}  // namespace builder
