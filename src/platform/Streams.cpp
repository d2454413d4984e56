// File and memory streams over POSIX file descriptors.
#include "platform/Streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"

namespace kv {

void TStream::ReadBuffer(void* ABuffer, size_t ACount) {
  if (ACount != 0 && Read(ABuffer, ACount) != ACount) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* ABuffer, size_t ACount) {
  if (ACount != 0 && Write(ABuffer, ACount) != ACount) throw EWriteError("Stream write error");
}

TFileStream::TFileStream(const std::string& AFileName, unsigned AMode) : FFileName(AFileName) {
  bool create = AMode == fmCreate;
  int flags = O_CLOEXEC;
  if (create) flags |= O_RDWR | O_CREAT;
  else if ((AMode & 3) == fmOpenWrite) flags |= O_WRONLY;
  else if ((AMode & 3) == fmOpenReadWrite) flags |= O_RDWR;
  else flags |= O_RDONLY;
  FHandle = ::open(AFileName.c_str(), flags, 0644);
  if (FHandle < 0) {
    std::string reason = std::strerror(errno);
    if (create) throw EFCreateError("Cannot create file \"" + AFileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + AFileName + "\". " + reason);
  }
  bool exclusive = create || (AMode & 0xF0) == fmShareExclusive;
  if (exclusive && ::flock(FHandle, LOCK_EX | LOCK_NB) != 0) {
    ::close(FHandle);
    FHandle = -1;
    std::string reason = "The process cannot access the file because it is being used by another process";
    if (create) throw EFCreateError("Cannot create file \"" + AFileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + AFileName + "\". " + reason);
  }
  if (create && ::ftruncate(FHandle, 0) != 0) {
    std::string reason = std::strerror(errno);
    ::close(FHandle);
    FHandle = -1;
    throw EFCreateError("Cannot create file \"" + AFileName + "\". " + reason);
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

size_t TFileStream::Read(void* ABuffer, size_t ACount) {
  size_t done = 0;
  while (done < ACount) {
    ssize_t r = ::read(FHandle, static_cast<char*>(ABuffer) + done, ACount - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<size_t>(r);
  }
  return done;
}

size_t TFileStream::Write(const void* ABuffer, size_t ACount) {
  size_t done = 0;
  while (done < ACount) {
    ssize_t r = ::write(FHandle, static_cast<const char*>(ABuffer) + done, ACount - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<size_t>(r);
  }
  return done;
}

void TFileStream::ReadBufferAt(int64_t AOffset, void* ABuffer, size_t ACount) {
  size_t done = 0;
  while (done < ACount) {
    ssize_t r = ::pread(FHandle, static_cast<char*>(ABuffer) + done, ACount - done,
                        static_cast<off_t>(AOffset + static_cast<int64_t>(done)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) throw EReadError("Stream read error");
    done += static_cast<size_t>(r);
  }
}

void TFileStream::WriteBufferAt(int64_t AOffset, const void* ABuffer, size_t ACount) {
  size_t done = 0;
  while (done < ACount) {
    ssize_t r = ::pwrite(FHandle, static_cast<const char*>(ABuffer) + done, ACount - done,
                         static_cast<off_t>(AOffset + static_cast<int64_t>(done)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) throw EWriteError("Stream write error");
    done += static_cast<size_t>(r);
  }
}

int64_t TFileStream::Seek(int64_t AOffset, TSeekOrigin AOrigin) {
  int whence = AOrigin == TSeekOrigin::soBeginning ? SEEK_SET
               : AOrigin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, static_cast<off_t>(AOffset), whence);
  if (r < 0) throw EStreamError("Stream seek error");
  return static_cast<int64_t>(r);
}

int64_t TFileStream::Size() {
  struct stat st;
  if (::fstat(FHandle, &st) != 0) throw EStreamError("Stream size error");
  return static_cast<int64_t>(st.st_size);
}

size_t TMemoryStream::Read(void* ABuffer, size_t ACount) {
  if (FPos >= FData.size()) return 0;
  size_t n = std::min(ACount, FData.size() - FPos);
  std::memcpy(ABuffer, FData.data() + FPos, n);
  FPos += n;
  return n;
}

size_t TMemoryStream::Write(const void* ABuffer, size_t ACount) {
  if (FPos + ACount > FData.size()) FData.resize(FPos + ACount);
  std::memcpy(FData.data() + FPos, ABuffer, ACount);
  FPos += ACount;
  return ACount;
}

int64_t TMemoryStream::Seek(int64_t AOffset, TSeekOrigin AOrigin) {
  int64_t base = AOrigin == TSeekOrigin::soBeginning ? 0
                 : AOrigin == TSeekOrigin::soCurrent ? static_cast<int64_t>(FPos)
                                                     : static_cast<int64_t>(FData.size());
  int64_t p = base + AOffset;
  if (p < 0) throw EStreamError("Stream seek error");
  FPos = static_cast<size_t>(p);
  return p;
}

std::string ReadFileBytes(const std::string& AFileName) {
  TFileStream f(AFileName, fmOpenRead | fmShareDenyNone);
  std::string data(static_cast<size_t>(f.Size()), '\0');
  f.ReadBuffer(data.data(), data.size());
  return data;
}

}  // namespace kv
