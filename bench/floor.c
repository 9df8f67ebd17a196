/* The floor of the benchmark: the least a program of the sensor's model can
 * do to give the monitor the healthy run's document. Like the sensor it is
 * linked against the shared C library and loads the RFC library that lies
 * beside it at run time; then it writes the document in one write.
 * bench/run checks that its bytes equal those of the healthy sensor run. */
#include <dlfcn.h>
#include <limits.h>
#include <string.h>
#include <unistd.h>

static const char document[] =
    "\n<Prtg>\n"
    "\n<Text>(DEV) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=DEV     </Text>\n"
    "\n<Result><Channel>Abap Tables missing</Channel>\n<Value>0</Value></Result>\n"
    "\n<Result><Channel>Abap Primary missing</Channel>\n<Value>2</Value></Result>\n"
    "\n<Result><Channel>Abap Indexes missing</Channel>\n<Value>1</Value></Result>\n"
    "\n<Result><Channel>Abap Views missing</Channel>\n<Value>0</Value></Result>\n"
    "\n</Prtg>\n";

int main(void) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 16);
  if (length <= 0) return 1;
  path[length] = '\0';
  strcpy(strrchr(path, '/') + 1, "librfc32.so");
  if (dlopen(path, RTLD_NOW | RTLD_LOCAL) == NULL) return 1;
  return write(1, document, sizeof document - 1) == sizeof document - 1 ? 0 : 1;
}
