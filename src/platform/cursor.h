// Showing and hiding the mouse cursor over all of the program's windows.
#pragma once

namespace pictoralia {

// GUI thread only. Idempotent: showing a shown cursor or hiding a hidden one does
// nothing, so any number of "show" calls undo one "hide".
void ShowCursor(bool show);
bool CursorVisible();

} // namespace pictoralia
