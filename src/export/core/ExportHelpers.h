// Helpers shared by the export engine and the providers: the hash, character
// sets and text conversions, file names, picture file names and picture
// packing.
//
// Text inside the program is UTF-8, so the "8-bit text" of a provider is
// UTF-8 here and the conversions to and from UTF-16 decode and encode UTF-8;
// CharsetToCodePage gives the code page in which text for a font's character
// set is encoded when a writer writes it.  Paths use the native separator
// ("/" here; every "/" or "\" of a given name counts as a separator).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class TGraphic;

// 32-bit rotate-and-XOR hash: start with 0; per byte, rotate left by 5 bits,
// then XOR the byte into the low 8 bits.
uint32_t ExportHash(const void* ABytes, size_t ACount);
inline uint32_t ExportHash(std::string_view ABytes) { return ExportHash(ABytes.data(), ABytes.size()); }

// The code page of a font character set; 0 means the system code page.
int CharsetToCodePage(int ACharset);

// 8-bit text (UTF-8 inside the program) to UTF-16 and back.  ACharset is
// accepted for the callers' sake; the text itself is already Unicode.
std::u16string AnsiToWideText(std::string_view AText, int ACharset);
std::string WideToAnsiText(std::u16string_view AText, int ACharset);

// True if a byte of AText is above 127, or, with AStrict, if a character
// lies outside the safe set: space ! ( ) * + , - . / 0-9 : ; A-Z a-z _.
bool HasSpecialChars(std::string_view AText, bool AStrict);

// The native path separator.
constexpr char16_t cxPathDelim = u'/';

// 8-bit file name to UTF-16 with every "/" and "\" made the native separator.
std::u16string NormalizeExportPath(std::string_view AFileName);
// The part after the last native separator (the whole text if none).
std::u16string WideExtractFileName(std::u16string_view APath);
// The name without its extension, followed by ANewExt (which carries its own
// dot).  The extension starts at the last dot of the last path component,
// unless that dot is the component's first character; without one, ANewExt
// is appended.
std::u16string WideChangeFileExt(std::u16string_view AName, std::u16string_view ANewExt);

// The next picture file name for target AFileName: the target with its
// extension replaced by ".images" (a folder beside it), a separator, the
// target's name without folder and extension, "_", the picture counter, ".",
// AExt.  The counter then goes up by 1.  Example: /out/list.html, "bmp" gives
// /out/list.images/list_0.bmp, then /out/list.images/list_1.bmp.
std::string ImageFileName(std::string_view AFileName, std::string_view AExt);
// Counts live picture-writing providers (true: one more, false: one fewer);
// when the count reaches 0 the picture counter restarts at 0.
void TrackImageProvider(bool AAdding);
// The current picture counter and live provider count (for tests).
int ImageFileCounter();
int ImageProviderCount();

// Packs a picture for a cell: the 32-bit little-endian byte length of the
// image name, the image name (ImageFileName(AFileName, the picture's
// extension)), then the picture's bytes in its own format.  Writes no file.
void PackGraphic(const std::string& AFileName, const TGraphic& APicture, std::string& APacked);
// Splits a packed picture into image name and picture bytes; a packed value
// that is cut short raises EReadError ("Stream read error").
void UnpackGraphic(std::string_view APacked, std::string& AImageName, std::string& AImageBytes);

}  // namespace kv
