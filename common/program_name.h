// The argument part of a process command line, as every program of the
// suite reads it.
#ifndef VELMORA_COMMON_PROGRAM_NAME_H
#define VELMORA_COMMON_PROGRAM_NAME_H

// Skips the program name (quoted or not) and the blanks after it. An
// opening quote without a closing one leaves the whole line, program name
// included.
const char* SkipProgramName(const char* commandLine);

#endif
