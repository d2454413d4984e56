// The provider registry `TcxExport`: one process-wide ordered list of
// provider classes, each known by its export kind.
//
// A provider "class" is a registered factory: its name, its type, its export
// kind and a constructor from a target file name.  Writers register their
// classes from their registration function, called by EnsureExportEngine
// (ExportEngine.h) at start-up in the documented order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "export/core/ExportProvider.h"

namespace kv {

struct TcxExportProviderClass {
  std::string ClassName;
  std::type_index Type = std::type_index(typeid(void));
  int Kind = -1;
  std::function<std::shared_ptr<TcxCustomExportProvider>(const std::string& AFileName)> Construct;

  // The class's export kind.
  int ExportKind() const { return Kind; }
  bool Assigned() const { return static_cast<bool>(Construct); }

  // The class entry of provider class T (T::ExportKind(), constructor T(name)).
  template <class T>
  static TcxExportProviderClass Of(std::string AClassName) {
    TcxExportProviderClass c;
    c.ClassName = std::move(AClassName);
    c.Type = std::type_index(typeid(T));
    c.Kind = T::ExportKind();
    c.Construct = [](const std::string& AFileName) -> std::shared_ptr<TcxCustomExportProvider> {
      return TcxCustomExportProvider::Create<T>(AFileName);
    };
    return c;
  }
};

class TcxExport {
 public:
  TcxExport() = delete;

  // Adds a provider class.  False, and nothing changes, when the class is not
  // assigned (no constructor), or a registered class has the same kind or is
  // the same class.
  static bool RegisterProvider(const TcxExportProviderClass& AClass);
  // The first registered class whose kind is AExportKind; raises EcxExportData
  // with scxUnsupportedExport ("不支持导出类型: %1") when there is none.
  static TcxExportProviderClass FindProviderClass(int AExportKind);
  // FindProviderClass, then that class's constructor with AFileName (errors of
  // the constructor pass through unchanged).  Makes sure the engine has
  // started (EnsureExportEngine) first.
  static std::shared_ptr<TcxCustomExportProvider> CreateProvider(int AExportKind, const std::string& AFileName);

  // The registered classes in registration order.
  static std::vector<TcxExportProviderClass> RegisteredProviders();
  // Empties the registry (shut-down; tests).
  static void UnregisterAll();
};

}  // namespace kv
