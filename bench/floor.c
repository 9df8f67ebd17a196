/* The floor of the benchmark: the least a process can do to give the monitor
 * the healthy run's document. Built static, so no loader and no shared library
 * stand between exec and the one write. bench/run checks that its bytes equal
 * those of the healthy sensor run. */
#include <stdio.h>

static const char document[] =
    "\n<Prtg>\n"
    "\n<Text>(DEV) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=DEV     </Text>\n"
    "\n<Result><Channel>Abap Tables missing</Channel>\n<Value>0</Value></Result>\n"
    "\n<Result><Channel>Abap Primary missing</Channel>\n<Value>2</Value></Result>\n"
    "\n<Result><Channel>Abap Indexes missing</Channel>\n<Value>1</Value></Result>\n"
    "\n<Result><Channel>Abap Views missing</Channel>\n<Value>0</Value></Result>\n"
    "\n</Prtg>\n";

int main(void) {
  return fwrite(document, 1, sizeof document - 1, stdout) == sizeof document - 1 ? 0 : 1;
}
