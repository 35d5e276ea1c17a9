#pragma once

#include <optional>
#include <string>

#include "platform/outcome.h"

// Last-write times of files, as local float dates.
namespace xamu::platform {

// Empty when the file cannot be examined.
std::optional<double> LastWriteTime(const std::string& path);

// Sets the last-write (and access) time; fails when the file cannot be changed.
Outcome SetLastWriteTime(const std::string& path, double date);

}  // namespace xamu::platform
