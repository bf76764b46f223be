// Bounded text helpers of the configuration program: every result is
// NUL-terminated within its room, and nothing is written past it.
#ifndef VELMORA_CONFIG_TEXT_H
#define VELMORA_CONFIG_TEXT_H

#include <stddef.h>
#include <stdint.h>

// Copies text into out; false (and out cut to fit) when it does not fit.
bool CopyText(char* out, size_t room, const char* text);
// Appends text to the text in out; false (and out unchanged) when the whole
// of it does not fit.
bool AppendText(char* out, size_t room, const char* text);
// An unsigned number in decimal, as "%u" writes it.
bool AppendUnsigned(char* out, size_t room, uint32_t value);
// Byte-for-byte comparison.
bool SameText(const char* a, const char* b);

#endif
