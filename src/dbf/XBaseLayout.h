// Byte layout of dBASE III table and memo files, and the messages of the
// table component, shared by the files that implement `TXBase`.
//
// Table file: a 32-byte header, one 32-byte descriptor per field, 0x0D, the
// records (a deletion flag byte, then the fields in descriptor order), 0x1A.
// Memo file: 512-byte blocks; block 0 is the header whose first four bytes
// hold the next free block number.  All numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::xbase {

// Table header.
constexpr size_t HeaderSize = 32;
constexpr size_t HdrVersion = 0;
constexpr size_t HdrYear = 1;
constexpr size_t HdrMonth = 2;
constexpr size_t HdrDay = 3;
constexpr size_t HdrRecordCount = 4;
constexpr size_t HdrHeaderLength = 8;
constexpr size_t HdrRecordLength = 10;
constexpr size_t HdrCodePageMark = 29;

constexpr uint8_t VersionPlain = 0x03;
constexpr uint8_t VersionMemo = 0x83;     // written for tables with M or G fields
constexpr uint8_t VersionMemoAlt = 0x84;  // also opened with its memo file
constexpr uint8_t HeaderTerminator = 0x0D;
constexpr uint8_t EndOfFile = 0x1A;

// Field descriptor.
constexpr size_t DescriptorSize = 32;
constexpr size_t FieldNameSize = 11;
constexpr size_t DescType = 11;
constexpr size_t DescPosition = 12;  // in memory only: 1-based position in the record
constexpr size_t DescLength = 16;
constexpr size_t DescDecimals = 17;

// Record.
constexpr uint8_t LiveFlag = ' ';
constexpr uint8_t DeletedFlag = '*';

// Messages.
inline constexpr const char* MsgReadHeader = "读文件头错误！";
inline constexpr const char* MsgReadRecord = "读记录时发生错误！";
inline constexpr const char* MsgWriteRecord = "写记录时发生错误！";
inline constexpr const char* MsgNotOpen = "Data File not Open";
inline constexpr const char* MsgAppend = "Error Writing record";
inline constexpr const char* MsgDatasetClosed = "数据集没有打开";
inline constexpr const char* MsgInvalidFieldNumber = "Invalid Field Number: ";
inline constexpr const char* MsgBadFieldName = "错误的字段名称";
inline constexpr const char* MsgBadFieldIndex = "错误的字段名称！";
inline constexpr const char* MsgBadMemoIndex = "错误的字段下标！(11位)";
inline constexpr const char* MsgMemoNotOpen = "备注文件没有打开";
inline constexpr const char* MsgTableTooLarge = "表结构超出文件格式的限制";

inline uint16_t GetU16(const uint8_t* AData) { return static_cast<uint16_t>(AData[0] | (AData[1] << 8)); }
inline uint32_t GetU32(const uint8_t* AData) {
  return static_cast<uint32_t>(AData[0]) | (static_cast<uint32_t>(AData[1]) << 8) |
         (static_cast<uint32_t>(AData[2]) << 16) | (static_cast<uint32_t>(AData[3]) << 24);
}
inline void PutU16(uint8_t* AData, uint16_t AValue) {
  AData[0] = static_cast<uint8_t>(AValue);
  AData[1] = static_cast<uint8_t>(AValue >> 8);
}
inline void PutU32(uint8_t* AData, uint32_t AValue) {
  for (int i = 0; i < 4; ++i) AData[i] = static_cast<uint8_t>(AValue >> (8 * i));
}

// The header's code page mark for a Windows code page; 0 (no mark) for code
// pages the format has no mark for, UTF-8 included.
uint8_t CodePageMark(int ACodePage);

}  // namespace kv::xbase
