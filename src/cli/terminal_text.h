#pragma once

#include <cstdio>
#include <string>

#include "text/text.h"

namespace quorvane {

// Texts are code page 936 inside and UTF-8 on the terminal.
void PrintLine(std::FILE* stream, const Text& text);
// A reason on stderr, prefixed with the program's name.
void PrintError(const std::string& utf8Reason);
// Raw bytes, unconverted.
void WriteBytes(std::FILE* stream, const Bytes& bytes);

}  // namespace quorvane
