#pragma once
// The properties the number-text fuzz targets check, shared by the libFuzzer entry points and
// by the corpus replay of the test suite. Each check takes one fuzz input as raw bytes and
// returns an empty string when every property holds, else a description of the first
// property that failed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal separators the inputs choose from by their first byte: comma, point, the Arabic
// decimal separator U+066B (two bytes) and U+2396 (three bytes).
std::string_view FuzzSeparator(uint8_t Choice);

// Input: one byte choosing the separator, then the text.
std::string CheckParseFloat(const uint8_t *Data, std::size_t Size);
std::string CheckParseInt(const uint8_t *Data, std::size_t Size);

// Input: the precision byte, the exponent-width byte, the separator byte, a byte choosing how
// the value is read (a double or an extended value), then the value's bytes (missing bytes
// count as zero).
std::string CheckFormatGeneral(const uint8_t *Data, std::size_t Size);

// The input bytes that CheckFormatGeneral reads as (x, P, W) with the given separator choice,
// for writing seeds and tests.
std::string FormatGeneralInput(long double x, int P, int W, uint8_t Separator);
