#pragma once

#include "platform/errors.h"

// The synchronization worker is an edge: nothing it runs escapes it. Every error of the
// layers below is caught at its body and becomes a value: code 788 and a text in TextoError
// that quotes the error's kind name (KindName). The packet progress raises nothing.
namespace xamu {}  // namespace xamu
