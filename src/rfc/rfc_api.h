#pragma once
// Our declarations of the RFC client library's routines and of the records
// that pass through them, in the field orders the library expects. The
// library is loaded at run time (rfc_library.h); nothing here is linked.

#include <cstdint>

extern "C" {

using RFC_HANDLE = std::uint32_t;      // connection, 0 = none
using RFC_TYPEHANDLE = std::uint32_t;  // installed structure
using RFC_RC = std::int32_t;           // 0 OK, 1 failure, 2 exception, 3 system exception
using ITAB_H = void*;                  // internal table, null = none

// Type codes of field descriptors and parameters.
enum : std::uint32_t {
  TYPC = 0,      // characters, blank-padded
  TYPDATE = 1,   // date, 8 characters YYYYMMDD
  TYPP = 2,      // packed decimal
  TYPTIME = 3,   // time, 6 characters HHMMSS
  TYPINT = 8,    // integer of 4 bytes
  TYPINT2 = 9,   // integer of 2 bytes
};

using RFC_ERROR_HANDLER = void (*)(char* operation);

struct RFC_ENV {
  RFC_ERROR_HANDLER errorhandler;
  void* (*allocate)(void* old, std::uint32_t size);
};

// Connection parameters of an R/3 system (connection mode 0).
struct RFC_CONNOPT_R3 {
  char* hostname;  // null = none
  std::int32_t sysnr;
  char* gateway_host;
  char* gateway_service;
};

// Connection parameters through a gateway (connection mode 1, "R/2").
struct RFC_CONNOPT_R2 {
  char* gateway_host;
  char* gateway_service;
};

struct RFC_OPTIONS {
  char* destination;
  std::int32_t mode;  // 0 = R/3 (RFC_CONNOPT_R3), 1 = R/2 (RFC_CONNOPT_R2)
  void* connopt;
  char* client;
  char* user;
  char* password;
  char* language;
  std::int32_t trace;
};

struct RFC_ERROR_INFO {
  char key[33];
  char status[128];
  char message[256];
  char intstat[128];
};

struct RFC_TYPE_ELEMENT {
  const char* name;
  std::uint32_t type;
  std::uint32_t length;
  std::uint32_t decimals;
  std::uint32_t offset;
};

struct RFC_PARAMETER {
  const char* name;  // null ends the array
  std::uint32_t nlen;
  std::uint32_t type;  // a type code, or the handle of an installed structure
  std::uint32_t leng;
  void* addr;
};

struct RFC_TABLE {
  const char* name;  // null ends the array
  std::uint32_t nlen;
  std::uint32_t type;  // row structure's type handle
  std::uint32_t leng;
  ITAB_H ithandle;
  std::int32_t itmode;
  std::int32_t newitab;
};

using RfcEnvironmentFn = void* (*)(RFC_ENV* environment);
using RfcOpenFn = RFC_HANDLE (*)(RFC_OPTIONS* options);
using RfcOpenExFn = RFC_HANDLE (*)(const char* connectString, RFC_ERROR_INFO* errorInfo);
using RfcInstallStructureFn = RFC_RC (*)(const char* name, RFC_TYPE_ELEMENT* elements, std::uint32_t count,
                                         RFC_TYPEHANDLE* typeHandle);
using RfcCallFn = RFC_RC (*)(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
using RfcReceiveFn = RFC_RC (*)(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
using RfcLastErrorFn = std::int32_t (*)(RFC_ERROR_INFO* errorInfo);
using RfcCloseFn = void (*)(RFC_HANDLE handle);
using ItCreateFn = ITAB_H (*)(const char* name, std::uint32_t rowLength, std::uint32_t occurs, std::uint32_t memory);
using ItFillFn = std::uint32_t (*)(ITAB_H table);
using ItGetLineFn = void* (*)(ITAB_H table, std::uint32_t line);
using ItDeleteFn = std::int32_t (*)(ITAB_H table);

}  // extern "C"
