#pragma once

// Fields of a project file line: every value is terminated by the separator "#$@".

#include <string>
#include <string_view>

inline constexpr std::string_view fieldSeparator = "#$@";

// The n-th field (from 1) of a line. Text after the last separator is never a field;
// a field past the last separator reads as empty.
std::string ExtractField(std::string_view line, int n);
