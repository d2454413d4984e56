// Style managers and their process-wide registry.
#include "export/core/ExportStyleManager.h"

#include <memory>

#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "export/core/ExportMessages.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace kv {

namespace {

// Registry of managers by key, letters A to Z folded to upper case (file
// names are compared the way the original platform compared them).
std::unordered_map<std::string, std::unique_ptr<TcxExportStyleManager>>& Registry() {
  static std::unordered_map<std::string, std::unique_ptr<TcxExportStyleManager>> registry;
  return registry;
}

std::string RegistryKey(const std::string& AKey) { return UpperCaseAscii(AKey); }

}  // namespace

TcxExportStyleManager::~TcxExportStyleManager() = default;

TcxExportStyleManager* TcxExportStyleManager::Acquire(const std::string& AKey) {
  EnsureExportEngine();
  auto& registry = Registry();
  auto it = registry.find(RegistryKey(AKey));
  if (it != registry.end()) {
    TcxExportStyleManager* manager = it->second.get();
    manager->AddStyle(DefaultExportStyle());
    ++manager->FUserCount;
    return manager;
  }
  std::unique_ptr<TcxExportStyleManager> manager(new TcxExportStyleManager(AKey));
  manager->FUserCount = 1;
  TcxExportStyleManager* result = manager.get();
  registry.emplace(RegistryKey(AKey), std::move(manager));
  return result;
}

void TcxExportStyleManager::Release() {
  if (--FUserCount > 0) return;
  if (FDetached) {
    delete this;
    return;
  }
  auto& registry = Registry();
  auto it = registry.find(RegistryKey(FKey));
  if (it != registry.end() && it->second.get() == this) registry.erase(it);  // destroys this
}

int TcxExportStyleManager::AddStyle(TcxExportCellStyle& AStyle) {
  TcxExportCellStyle::TPacked packed = AStyle.Packed();
  AStyle.StyleHash = ExportHash(packed.data(), packed.size());
  return FindOrAdd(AStyle, packed, AStyle.StyleHash);
}

int TcxExportStyleManager::AddStyle(const TcxExportCellStyle& AStyle) {
  TcxExportCellStyle copy = AStyle;
  return AddStyle(copy);
}

int TcxExportStyleManager::FindOrAdd(const TcxExportCellStyle& AStyle, const TcxExportCellStyle::TPacked& APacked,
                                     uint32_t AHash) {
  // Only styles with an equal hash can match, and the index keeps each hash's
  // indexes in ascending order, so the first byte-equal one found here is the
  // first the walk over the whole list would find.
  std::vector<int>& candidates = FHashIndex[AHash];
  for (int index : candidates) {
    if (FPacked[index] == APacked) return index;
  }
  int index = StyleCount();
  FStyles.push_back(AStyle);
  FStyles.back().StyleHash = AHash;
  FPacked.push_back(APacked);
  candidates.push_back(index);
  return index;
}

const TcxExportCellStyle* TcxExportStyleManager::StyleAt(int AIndex) const {
  if (AIndex < 0 || AIndex >= StyleCount()) RaiseListIndexError(AIndex);
  return &FStyles[AIndex];
}

void TcxExportStyleManager::CopyStyle(int AIndex, TcxExportCellStyle& AStyle) const { AStyle = *StyleAt(AIndex); }

void TcxExportStyleManager::FreeRegistry() {
  auto& registry = Registry();
  bool inUse = false;
  for (auto& [key, manager] : registry) {
    if (manager->FUserCount > 0) {
      // Its users still hold it: hand it over to them.
      manager->FDetached = true;
      manager.release();
      inUse = true;
    }
  }
  registry.clear();
  if (inUse) RaiseExportError(scxStyleManagerKill);
}

int TcxExportStyleManager::RegisteredCount() { return static_cast<int>(Registry().size()); }

}  // namespace kv
