// Code pages: conversion between the program's UTF-8 text and the 8-bit code
// pages that files are written in, and between UTF-8 and UTF-16.
//
// The "system code page" is a process setting (default 936, GBK) standing in
// for the Windows ANSI code page.  Conversions go through iconv; a character
// the target cannot hold becomes "?" and an undecodable byte becomes "?", so
// nothing is silently dropped.  Pure 7-bit text is passed through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace kv {

constexpr int CP_UTF8 = 65001;

int SystemCodePage();
void SetSystemCodePage(int ACodePage);

// The name a reader knows the code page by ("GBK", "UTF-8", "windows-1252").
std::string CodePageName(int ACodePage);

// UTF-8 text to the bytes of ACodePage.
std::string EncodeText(std::string_view AUtf8, int ACodePage);
// Bytes of ACodePage to UTF-8 text.
std::string DecodeText(std::string_view ABytes, int ACodePage);

// Shorthands for the system code page.
inline std::string ToSystemBytes(std::string_view AUtf8) { return EncodeText(AUtf8, SystemCodePage()); }
inline std::string FromSystemBytes(std::string_view ABytes) { return DecodeText(ABytes, SystemCodePage()); }

// UTF-8 <-> UTF-16.  Invalid UTF-8 sequences become U+FFFD; unpaired
// surrogates become U+FFFD on the way back.
std::u16string Utf8ToUtf16(std::string_view AUtf8);
std::string Utf16ToUtf8(std::u16string_view AUtf16);
// Utf8ToUtf16 into AOut (reusing its buffer) when AUtf8 needs no U+FFFD;
// false (AOut incomplete) at the first sequence that would be replaced.
bool TryUtf8ToUtf16(std::string_view AUtf8, std::u16string& AOut);

// True when every byte is below 128.
bool IsSevenBit(std::string_view AText);

// The number of bytes AUtf8 takes in ACodePage: EncodeText(AUtf8,
// ACodePage).size(), counted without converting where the code page allows
// (7-bit text, UTF-8, and GBK text of ASCII and the CJK unified ideographs
// U+4E00 to U+9FA5, all of which GBK holds in two bytes).  In the code pages
// that encode each character on its own (the double-byte Asian ones and the
// Windows single-byte ones) other characters are encoded once per process
// and their lengths remembered.
size_t EncodedLength(std::string_view AUtf8, int ACodePage);

}  // namespace kv
