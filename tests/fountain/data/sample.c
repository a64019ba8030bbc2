#include <stdio.h>
/* a comment
   over rows */
int main(void) {
  char *s = "•\\"ƒ\\\";
  char c = '\'';
  unsigned x = 0x1Fu + 0755 + 1.5e-3;
  __property int p = { read = getp, write = setp };
  return sizeof x; // done
}
