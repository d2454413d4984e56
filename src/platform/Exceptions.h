// Exceptions of the class library stand-in.
//
// Every failure in the project is an exception carrying a UTF-8 message.  The
// base class is `Exception`; below it stand the class library's own kinds that
// callers rely on: the stream error family (a file that cannot be created or
// opened), graphics errors, the list-index error and variant conversion errors.
// The library's own exception classes (`EXBaseException`, `EcxExportData`,
// `EcxGridExport`) derive from `Exception` in their own layers.
#pragma once

#include <stdexcept>
#include <string>

namespace kv {

class Exception : public std::exception {
public:
  explicit Exception(std::string AMessage) : FMessage(std::move(AMessage)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const { return FMessage; }
  // The class name as the class library's default error display shows it.
  virtual const char* ClassName() const { return "Exception"; }

private:
  std::string FMessage;
};

#define KV_DECLARE_EXCEPTION(Name, Base)                              \
  class Name : public Base {                                          \
  public:                                                             \
    using Base::Base;                                                 \
    const char* ClassName() const override { return #Name; }          \
  }

KV_DECLARE_EXCEPTION(EStreamError, Exception);
KV_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
KV_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);  // file cannot be created
KV_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);    // file cannot be opened
KV_DECLARE_EXCEPTION(EReadError, EStreamError);         // short read
KV_DECLARE_EXCEPTION(EWriteError, EStreamError);        // short write
KV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);       // bitmap data not understood
KV_DECLARE_EXCEPTION(EListError, Exception);            // "List index out of bounds (%d)"
KV_DECLARE_EXCEPTION(EVariantError, Exception);
KV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);  // conversion not possible
KV_DECLARE_EXCEPTION(EConvertError, Exception);         // text is not a number or date
KV_DECLARE_EXCEPTION(EDatabaseError, Exception);        // dataset and loader failures
KV_DECLARE_EXCEPTION(EAbort, Exception);                // silent cancellation
KV_DECLARE_EXCEPTION(EInvalidOperation, Exception);     // an operation the object cannot do

// Raises the list-index error with the class library's message.
[[noreturn]] void RaiseListIndexError(long long AIndex);

}  // namespace kv
