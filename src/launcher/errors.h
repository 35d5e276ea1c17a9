#pragma once

#include "platform/errors.h"

// The launcher raises no error of its own: it passes on those of the layers below (a
// malformed stored proxy password raises the encodings' EConvertError, EReadError or
// ESevenZipError; writing the settings raises EInOutError) to the edges that turn them into
// a notice or a message: the first-paint guard and the completion step.
namespace xamu {}  // namespace xamu
