// Argument helpers shared by the builtins that reach the host.
#pragma once

#include <string>
#include <vector>

#include "adsdef.h"
#include "lisp/Interpreter.h"

namespace tz::cad::lisp {

// A point argument: a list of two or three numbers (z 0 when missing).
void expectPoint(const std::vector<ValuePtr>& args, size_t index, ads_point out);
ValuePtr pointValue(const ads_point p);

}  // namespace tz::cad::lisp
