// The deterministic text-metrics model (formulas in docs/text-metrics.md).
#include "platform/TextMetrics.h"

#include <vector>

namespace kv {

namespace {

// Decodes the next character of a UTF-8 text at APos and moves past it.  A
// byte that starts no valid sequence is returned alone with AValid false.
char32_t NextChar(std::string_view AText, size_t& APos, bool& AValid) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(AText[i]); };
  unsigned char lead = byte(APos);
  AValid = true;
  if (lead < 0x80) {
    ++APos;
    return lead;
  }
  size_t extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
  if (extra > 0 && APos + extra < AText.size()) {
    char32_t c = lead & (0x3F >> extra);
    bool ok = true;
    for (size_t k = 1; ok && k <= extra; ++k) {
      unsigned char next = byte(APos + k);
      ok = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (ok) {
      APos += extra + 1;
      return c;
    }
  }
  ++APos;
  AValid = false;
  return lead;
}

bool IsWideChar(char32_t C) {
  return (C >= 0x1100 && C <= 0x115F) || (C >= 0x2E80 && C <= 0x303E) || (C >= 0x3041 && C <= 0x33FF) ||
         (C >= 0x3400 && C <= 0x4DBF) || (C >= 0x4E00 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7A3) ||
         (C >= 0xF900 && C <= 0xFAFF) || (C >= 0xFE30 && C <= 0xFE4F) || (C >= 0xFF01 && C <= 0xFF60) ||
         (C >= 0xFFE0 && C <= 0xFFE6) || (C >= 0x20000 && C <= 0x3FFFD);
}

struct TChar {
  int Width;
  bool Wide;
  bool Blank;
};

TChar Measure(char32_t C, bool AValid, int AEm, bool ABold) {
  TChar r{0, false, false};
  if (AValid && IsWideChar(C)) {
    r.Width = AEm;
    r.Wide = true;
  } else if (AValid && (C == ' ' || C == 'i' || C == 'j' || C == 'l' || C == '.' || C == ',' || C == ':' || C == ';' ||
                        C == '\'' || C == '!' || C == '|')) {
    r.Width = AEm / 4 + 1;
    r.Blank = C == ' ';
  } else if (AValid && ((C >= 'A' && C <= 'Z') || C == 'm' || C == 'w' || C == '@' || C == '%')) {
    r.Width = AEm * 3 / 4;
  } else {
    r.Width = AEm / 2 + 1;
  }
  if (ABold) r.Width += 1;
  return r;
}

// The characters of one line of text (no line breaks inside).
std::vector<TChar> MeasureAll(const TFont& AFont, std::string_view AText) {
  std::vector<TChar> chars;
  int em = FontPixelSize(AFont);
  bool bold = (AFont.Style & fsBold) != 0;
  size_t pos = 0;
  while (pos < AText.size()) {
    bool valid;
    char32_t c = NextChar(AText, pos, valid);
    chars.push_back(Measure(c, valid, em, bold));
  }
  return chars;
}

// Lines one paragraph (no line breaks) takes in AWidth pixels.
int WrapParagraph(const std::vector<TChar>& AChars, int AWidth) {
  int lines = 1;
  int width = 0;         // width of the line so far, without pending blanks
  int blanks = 0;        // blanks after the last word of the line
  bool content = false;  // the line holds a word
  bool firstLine = true;
  size_t i = 0;
  while (i < AChars.size()) {
    if (AChars[i].Blank) {
      // Blanks count between words, and before the first word of the
      // paragraph; at the start of a wrapped line they are dropped.
      if (content || firstLine) blanks += AChars[i].Width;
      ++i;
      continue;
    }
    // A word: a run of non-blank narrow characters, or one wide character.
    size_t end = i + 1;
    if (!AChars[i].Wide)
      while (end < AChars.size() && !AChars[end].Blank && !AChars[end].Wide) ++end;
    int wordWidth = 0;
    for (size_t k = i; k < end; ++k) wordWidth += AChars[k].Width;
    if (width + blanks + wordWidth <= AWidth) {
      width += blanks + wordWidth;
      blanks = 0;
      content = true;
    } else {
      if (content) {
        ++lines;
        firstLine = false;
        width = 0;
      }
      blanks = 0;
      if (wordWidth <= AWidth) {
        width = wordWidth;
      } else {
        // Too wide for any line: broken between characters.
        for (size_t k = i; k < end; ++k) {
          if (width > 0 && width + AChars[k].Width > AWidth) {
            ++lines;
            firstLine = false;
            width = 0;
          }
          width += AChars[k].Width;
        }
      }
      content = true;
    }
    i = end;
  }
  return lines;
}

}  // namespace

int FontPixelSize(const TFont& AFont) {
  int size = AFont.Size < 0 ? 0 : AFont.Size;
  return (size * cxScreenPixelsPerInch + 36) / 72;
}

int TextHeight(const TFont& AFont) {
  int em = FontPixelSize(AFont);
  return em + em / 4;
}

int TextWidth(const TFont& AFont, std::string_view AText) {
  int width = 0;
  for (const TChar& c : MeasureAll(AFont, AText)) width += c.Width;
  if ((AFont.Style & fsItalic) != 0 && !AText.empty()) width += 1;
  return width;
}

TSize TextExtent(const TFont& AFont, std::string_view AText) { return {TextWidth(AFont, AText), TextHeight(AFont)}; }

int WrappedLineCount(const TFont& AFont, std::string_view AText, int AWidth) {
  int lines = 0;
  size_t start = 0;
  while (true) {
    size_t brk = AText.find_first_of("\r\n", start);
    std::string_view paragraph =
        AText.substr(start, brk == std::string_view::npos ? std::string_view::npos : brk - start);
    lines += WrapParagraph(MeasureAll(AFont, paragraph), AWidth);
    if (brk == std::string_view::npos) break;
    start = brk + 1;
    if (AText[brk] == '\r' && start < AText.size() && AText[start] == '\n') ++start;
  }
  return lines;
}

int WrappedTextHeight(const TFont& AFont, std::string_view AText, int AWidth) {
  return WrappedLineCount(AFont, AText, AWidth) * TextHeight(AFont);
}

}  // namespace kv
