// Text routines shared by the HTML, XML and text writers: picture files
// beside an export, CSS colours, HTML escaping, line breaks and numeric
// character references.
//
// "8-bit text" is UTF-8 inside the program (see export/core/ExportHelpers.h);
// the writers encode their output into the system code page when they write
// it.  Every routine here works on whole characters of that UTF-8 text or on
// ASCII bytes, which never occur inside a multi-byte UTF-8 character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// Writes the picture of a packed picture cell value (PackGraphic) to its
// image file and answers the file's path relative to AFolder.
//
// The image file's folder is created when it does not exist (one level only:
// a missing parent folder makes the write fail).  The image file is created
// or overwritten.  The answer is the image file name without its leading
// AFolder (the writers pass the folder of the exported file, with its
// trailing separator) and with every "\" turned into "/"; an image name that
// does not start with AFolder is answered whole.  With AAsElement the answer
// is wrapped as "<img src=\"" + path + "\"></img>".
//
// Fails with the error of UnpackGraphic for a packed value cut short, and with the stream
// errors (EFCreateError, EWriteError) when the file cannot be written.
std::string SaveImageFile(std::string_view AFolder, std::string_view APackedGraphic, bool AAsElement);

// "rgb(r,g,b)" of an RGB colour (red in the low byte), each part in decimal.
std::string CssRgb(uint32_t AColor);

// Replaces "<", ">", "&" and the double quote by "&lt;", "&gt;", "&amp;" and
// "&quot;"; every other byte is copied unchanged.
std::string EscapeHtmlText(std::string_view AText);

// A CR directly followed by LF becomes "<BR>" (the LF is dropped), an LF
// not preceded by CR becomes "<BR>"; a lone CR and every other byte are
// copied unchanged.
std::string LineBreaksToBR(std::string_view AText);

// When the text has a character outside the strict safe set of
// HasSpecialChars, the whole text written as numeric character references
// ("&#" + decimal + ";"), one per UTF-16 code unit of AnsiToWideText(AText,
// ACharset); otherwise the text unchanged.
std::string CharsetCharRefs(std::string_view AText, int ACharset);

// With UnicodeRefsEnabled, every UTF-16 code unit of AText as a numeric
// character reference; otherwise the 8-bit form of AText (WideToAnsiText in
// the system code page).
std::string TitleCharRefs(std::u16string_view AText);

}  // namespace kv
