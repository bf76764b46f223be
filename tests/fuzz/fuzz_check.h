// A failed property ends the fuzz run with the input that broke it.
#ifndef VELMORA_TESTS_FUZZ_FUZZ_CHECK_H
#define VELMORA_TESTS_FUZZ_FUZZ_CHECK_H

#include <stdio.h>
#include <stdlib.h>

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : (fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition), abort()))

#endif
