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

// Asks for an ".xls" target (filter "文本文件(*.xls)|*.xls") and writes the
// view of the grid's active level as an Excel workbook with native values,
// every record and every group expanded.  AGrid is the host's grid (a
// kv::TcxGrid*); nothing about it is tested before the prompt, and a missing
// grid writes nothing.  Returns quietly when the prompt is cancelled or the
// user declines to replace an existing file (on Yes the file is overwritten,
// not deleted first).  The workbook is not opened afterwards.  Errors of the
// export are not caught.
KV_EXPORT void KV_STDCALL ConvertToExcel(void* AGrid);

}  // extern "C"
