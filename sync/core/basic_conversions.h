#pragma once
// The number conversions the synchronizer's values go through: the numeric value of a text
// (a folder name), and the conversions to 16- and 32-bit integers with their runtime errors
// (type mismatch, overflow). Halves round to the even neighbour, as the runtime rounds.
#include <cstdint>
#include <string>
#include <string_view>

#include "sync/erp/values.h"

namespace brindlemoor {

// The number a text starts with, 0 when it starts with none. Leading blanks and blanks
// between digits are skipped; a sign, a decimal point and an exponent are read.
double NumericValue(std::string_view text);

// Rounds to a 32-bit integer; overflow (runtime error 6) outside the range.
int32_t ToLong(double value);

// A text that is a number as a whole (blanks around it allowed) to a 16-bit integer; type
// mismatch (runtime error 13) for anything else, overflow outside the range.
int16_t ToInteger(std::string_view text);

// An ERP value to a 16-bit integer: nothing is 0, a number must fit, a text must be a number.
int16_t ToInteger(const erp::Value& value);

// A text that is a number as a whole to a 32-bit integer (type mismatch, overflow as above).
int32_t ToLong(std::string_view text);

// The company number of a folder name: the number the name starts with, rounded; 0 when it
// starts with none (overflow when it does not fit 32 bits).
int32_t CompanyOfFolder(std::string_view folderName);

// The company number as the bus-component look-up takes it (16 bits; overflow otherwise).
int16_t ToCompanyParameter(int32_t company);

}  // namespace brindlemoor
