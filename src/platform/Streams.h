// Streams: the byte sink writers write through, and file streams.
//
// `TStream` is the class library's stream: read, write, seek, size.  Writers
// only need `Write(data, size)`, so anything that takes bytes (a file, a
// memory buffer, a test recorder) can stand behind them.  `TFileStream` opens
// files "without sharing": it holds an exclusive lock, so a second open of the
// same file fails while the first is held, as the class library's
// fmShareExclusive did.  Failures raise the stream error family.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to ACount bytes; returns the number read.
  virtual size_t Read(void* ABuffer, size_t ACount) = 0;
  // Writes ACount bytes; returns the number written.
  virtual size_t Write(const void* ABuffer, size_t ACount) = 0;
  virtual int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) = 0;
  virtual int64_t Size() = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t APos) { Seek(APos, TSeekOrigin::soBeginning); }
  // Read or write exactly ACount bytes, raising EReadError / EWriteError.
  void ReadBuffer(void* ABuffer, size_t ACount);
  void WriteBuffer(const void* ABuffer, size_t ACount);
  void WriteString(std::string_view ABytes) { WriteBuffer(ABytes.data(), ABytes.size()); }
};

// File open modes, after the class library's.
enum TFileMode : unsigned {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,  // create or truncate, read and write, exclusive
};

class TFileStream : public TStream {
public:
  // Raises EFCreateError / EFOpenError with the class library's messages.
  TFileStream(const std::string& AFileName, unsigned AMode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* ABuffer, size_t ACount) override;
  size_t Write(const void* ABuffer, size_t ACount) override;
  int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;
  int64_t Size() override;
  const std::string& FileName() const { return FFileName; }
  // Read or write exactly ACount bytes at file offset AOffset in one call,
  // without moving the stream position; raise EReadError / EWriteError.
  // Writers that patch a file at known offsets save the seek this way.
  void ReadBufferAt(int64_t AOffset, void* ABuffer, size_t ACount);
  void WriteBufferAt(int64_t AOffset, const void* ABuffer, size_t ACount);

private:
  std::string FFileName;
  int FHandle = -1;
};

// A growable in-memory stream.
class TMemoryStream : public TStream {
public:
  size_t Read(void* ABuffer, size_t ACount) override;
  size_t Write(const void* ABuffer, size_t ACount) override;
  int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  const std::string& Data() const { return FData; }
  void Clear() { FData.clear(); FPos = 0; }

private:
  std::string FData;
  size_t FPos = 0;
};

// Reads a whole file into memory (EFOpenError when it cannot be opened).
std::string ReadFileBytes(const std::string& AFileName);

}  // namespace kv
