#pragma once
// The binary interface of librfc32 as the sensor uses it: the records that pass
// through the twelve routines, field by field in their binary order. Written for
// the stand-in library alone, so that it checks the program's side of the
// boundary instead of sharing its declarations.
#include <cstdint>

#ifdef _WIN32
#define RFCSIM_EXPORT __declspec(dllexport)
#else
#define RFCSIM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

typedef uint32_t RFC_HANDLE;
typedef uint32_t RFC_TYPEHANDLE;
typedef int32_t RFC_RC;
typedef void* ITAB_H;

enum : uint32_t {
  RFCTYPE_CHAR = 0,
  RFCTYPE_DATE = 1,
  RFCTYPE_BCD = 2,
  RFCTYPE_TIME = 3,
  RFCTYPE_INT = 8,
  RFCTYPE_INT2 = 9,
};

typedef void (*RFC_ERROR_HANDLER)(char* operation);

struct RFC_ENV {
  RFC_ERROR_HANDLER errorhandler;
  void* (*allocate)(void* old, uint32_t size);  // none: the library's own memory
};

// Mode 0 reaches an application server, mode 1 ("R/2") a gateway; the
// options record points at the one of these two that its mode names.
struct RFC_CONNOPT_R3 {
  char* hostname;
  int32_t sysnr;
  char *gateway_host, *gateway_service;
};
struct RFC_CONNOPT_R2 {
  char *gateway_host, *gateway_service;
};

struct RFC_OPTIONS {
  char* destination;
  int32_t mode;
  void* connopt;
  // The user arrives blank-padded to 12 characters, the password to 10.
  char *client, *user, *password, *language;
  int32_t trace;
};

// The four texts of RfcLastError, each terminated.
struct RFC_ERROR_INFO {
  char key[33], status[128], message[256], intstat[128];
};

// One field of a structure to install; the offset is always 0.
struct RFC_TYPE_ELEMENT {
  const char* name;
  uint32_t type, length, decimals, offset;
};

// Parameter and table arrays end with an element whose name is none. The
// type is a type code, or the type handle of an installed structure.
struct RFC_PARAMETER {
  const char* name;
  uint32_t nlen, type, leng;
  void* addr;
};
struct RFC_TABLE {
  const char* name;
  uint32_t nlen, type, leng;
  ITAB_H ithandle;
  int32_t itmode, newitab;
};

RFCSIM_EXPORT void* RfcEnvironment(RFC_ENV* environment);
RFCSIM_EXPORT RFC_HANDLE RfcOpen(RFC_OPTIONS* options);
RFCSIM_EXPORT RFC_HANDLE RfcOpenEx(const char* connectString, RFC_ERROR_INFO* errorInfo);
RFCSIM_EXPORT RFC_RC RfcInstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, uint32_t count,
                                         RFC_TYPEHANDLE* typeHandle);
RFCSIM_EXPORT RFC_RC RfcCall(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
RFCSIM_EXPORT RFC_RC RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
RFCSIM_EXPORT int32_t RfcLastError(RFC_ERROR_INFO* errorInfo);
RFCSIM_EXPORT void RfcClose(RFC_HANDLE handle);
RFCSIM_EXPORT ITAB_H ItCreate(const char* name, uint32_t rowLength, uint32_t occurs, uint32_t memory);
RFCSIM_EXPORT uint32_t ItFill(ITAB_H table);
RFCSIM_EXPORT void* ItGetLine(ITAB_H table, uint32_t line);
RFCSIM_EXPORT int32_t ItDelete(ITAB_H table);

}  // extern "C"
