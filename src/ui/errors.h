#pragma once

// The message catalogue raises nothing: an unknown code has no entry (null) and an empty
// description, which the notice shows as it is.
namespace xamu {}  // namespace xamu
