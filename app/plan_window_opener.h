#pragma once

// The main window asks for the precise plan; the plan window answers. Neither folder includes
// the other: the program connects them here.

namespace tarvex {

class MTARV;

// From now on УТОЧНИТЬ in `main_window` opens the plan window, made at the first press (start-up
// does not wait for it) and brought to the front at every later one; it reads the main window's
// fields and is deleted with the main window.
void ConnectPlanWindow(MTARV& main_window);

}  // namespace tarvex
