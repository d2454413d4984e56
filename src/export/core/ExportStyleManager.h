// The style manager: an ordered, de-duplicating list of cell styles shared
// by every provider that writes the same target file.
//
// Managers live in a process-wide registry keyed by text compared without
// regard to letter case (providers use their target file name).  A style
// index is the position in the list, from 0; indexes never change while the
// manager lives.  Finding an equal style gives the same answer as walking the
// list in order and taking the first style whose hash and packed bytes are
// equal; a hash index only makes that walk short.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/core/ExportCellStyle.h"

namespace kv {

class TcxExportStyleManager {
 public:
  TcxExportStyleManager(const TcxExportStyleManager&) = delete;
  TcxExportStyleManager& operator=(const TcxExportStyleManager&) = delete;
  ~TcxExportStyleManager();

  // The manager registered under AKey (letter case ignored): the engine's
  // DefaultExportStyle is registered in it (found or added) and it gains one
  // user.  Otherwise a new, empty manager with one user, registered under
  // AKey.
  static TcxExportStyleManager* Acquire(const std::string& AKey);
  // Gives up one use; the last release frees the styles, removes the
  // manager from the registry and destroys it.
  void Release();

  // Registers a style: stores ExportHash of its packed form into
  // AStyle.StyleHash and returns the index of the first equal registered
  // style, or appends a copy and returns its new index.
  int AddStyle(TcxExportCellStyle& AStyle);
  // The same for a record the caller does not want changed.
  int AddStyle(const TcxExportCellStyle& AStyle);
  // The stored record; an index outside the list raises EListError
  // ("List index out of bounds (%d)").
  const TcxExportCellStyle* StyleAt(int AIndex) const;
  // Copies the stored record (same error as StyleAt).
  void CopyStyle(int AIndex, TcxExportCellStyle& AStyle) const;
  int StyleCount() const { return static_cast<int>(FStyles.size()); }

  const std::string& Key() const { return FKey; }
  int UserCount() const { return FUserCount; }

  // Frees the registry (engine start-up and shut-down).  Managers that still
  // have users are detached from it rather than destroyed, so their users'
  // pointers stay valid until the last Release; in that case EcxExportData
  // with scxStyleManagerKill is raised after the registry has been emptied.
  static void FreeRegistry();
  // Number of managers in the registry.
  static int RegisteredCount();

 private:
  explicit TcxExportStyleManager(std::string AKey) : FKey(std::move(AKey)) {}

  int FindOrAdd(const TcxExportCellStyle& AStyle, const TcxExportCellStyle::TPacked& APacked, uint32_t AHash);

  std::string FKey;
  int FUserCount = 0;
  bool FDetached = false;
  std::deque<TcxExportCellStyle> FStyles;                     // stable addresses for StyleAt
  std::vector<TcxExportCellStyle::TPacked> FPacked;           // packed form per index
  std::unordered_map<uint32_t, std::vector<int>> FHashIndex;  // hash -> indexes, ascending
};

}  // namespace kv
