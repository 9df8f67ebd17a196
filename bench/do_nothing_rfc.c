/* A librfc32 that answers at once, as the demo's healthy DB4 system DEV
 * answers, without reading a description or writing a trace: what a sensor
 * call costs when the library costs nothing. bench/run builds it and the
 * floor loads it too. Written from our own declarations of the routines
 * (src/rfc/rfc_api.h), in C so that it pulls in nothing but libc. */
#include <stdint.h>
#include <string.h>

typedef uint32_t RFC_HANDLE;
typedef uint32_t RFC_TYPEHANDLE;
typedef int32_t RFC_RC;
typedef void* ITAB_H;

typedef struct {
  const char* name;
  uint32_t nlen;
  uint32_t type;
  uint32_t leng;
  void* addr;
} RFC_PARAMETER;

typedef struct {
  const char* name;
  uint32_t nlen;
  uint32_t type;
  uint32_t leng;
  ITAB_H ithandle;
  int32_t itmode;
  int32_t newitab;
} RFC_TABLE;

static char table;  /* every internal table: always empty */

void* RfcEnvironment(void* environment) { return environment; }
RFC_HANDLE RfcOpen(void* options) { return options ? 1 : 0; }
RFC_HANDLE RfcOpenEx(const char* connect, void* error) { return connect && error ? 1 : 0; }
RFC_RC RfcInstallStructure(const char* name, void* elements, uint32_t count, RFC_TYPEHANDLE* handle) {
  *handle = 100 + (uint32_t)strlen(name) + count + (elements ? 0 : 1);
  return 0;
}
RFC_RC RfcCall(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables) {
  return handle && function && exporting && tables ? 0 : 1;
}

static void Put(RFC_PARAMETER* p, size_t at, const char* text, size_t length) {
  if (at + length <= p->leng) memcpy((char*)p->addr + at, text, length);
}

static void PutInt(RFC_PARAMETER* p, size_t at, int32_t value) {
  if (at + sizeof value <= p->leng) memcpy((char*)p->addr + at, &value, sizeof value);
}

RFC_RC RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception) {
  for (RFC_PARAMETER* p = importing; p->name; ++p) {
    if (strcmp(p->name, "RFCSI_EXPORT") == 0) {
      memset(p->addr, ' ', p->leng);
      Put(p, 101, "DB4       ", 10);
    } else if (strcmp(p->name, "DB02_DISPLAYED_INFO") == 0) {
      memset(p->addr, 0, p->leng);
      Put(p, 0, "DB4       20261208061500DEV     ", 32);
      PutInt(p, 84, 0);
      PutInt(p, 88, 2);
      PutInt(p, 92, 1);
      PutInt(p, 96, 0);
    }
  }
  *exception = 0;
  return handle && tables ? 0 : 1;
}

int32_t RfcLastError(void* error) { return error ? 0 : 1; }
void RfcClose(RFC_HANDLE handle) { (void)handle; }
ITAB_H ItCreate(const char* name, uint32_t row, uint32_t occurs, uint32_t memory) {
  (void)name, (void)row, (void)occurs, (void)memory;
  return &table;
}
uint32_t ItFill(ITAB_H t) { return t ? 0 : 0; }
void* ItGetLine(ITAB_H t, uint32_t line) { return line ? t : 0; }
int32_t ItDelete(ITAB_H t) { return t ? 0 : 1; }
