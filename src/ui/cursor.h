#pragma once

// The mouse cursor of the whole application as one state, hourglass or normal: setting
// the state it already has changes nothing, and one call to CursorNormal always restores
// it, however many times the hourglass was asked for. User-interface thread only.
namespace xamu::ui {

void CursorEspera();
void CursorNormal();

}  // namespace xamu::ui
