#pragma once

// The windows' fonts, MS Sans Serif and Verdana, do not exist on Linux: each is mapped to
// DejaVu Sans (fonts-dejavu-core), whose widths are close to Verdana's, so that the texts fit
// their boxes in both languages.
namespace xamu::ui {

inline constexpr const char* kFuenteVentanas = "Verdana";

// Call once, after the application object exists.
void InstalarSustitucionesDeFuentes();

}  // namespace xamu::ui
