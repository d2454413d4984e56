// The functions the shared library exports to its host, with C linkage and
// exactly these names.  KV_STDCALL is the calling convention of the exports
// (stdcall on 32-bit Windows, the platform's default elsewhere); KV_EXPORT
// makes a function visible outside the shared library.
#pragma once

#if defined(_WIN32)
#if defined(KV_BUILDING_LIBRARY)
#define KV_EXPORT __declspec(dllexport)
#else
#define KV_EXPORT
#endif
#else
#define KV_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define KV_STDCALL __stdcall
#else
#define KV_STDCALL
#endif

extern "C" {

// Asks for a ".dbf" target and writes every row of a data-bound banded table
// view's dataset into a new dBASE table.  AViewVariable is the address of a
// variable holding the view (a kv::TcxGridDBBandedTableView*); the variable is
// read, never written.  Returns quietly when the view has no data source, no
// dataset or a closed dataset, when the prompt is cancelled, and when the user
// declines to replace an existing file.  Errors of the export are not caught.
KV_EXPORT void KV_STDCALL ConvertToDBF(void* AViewVariable);

}  // extern "C"
