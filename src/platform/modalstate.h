#pragma once
// What the forms' modal loop shares with the application's delivery of
// events; nothing outside the platform looks at it.

#include <vector>

class TForm;

namespace modal {

// The modal forms up, innermost last.
inline std::vector<TForm*> g_modal;
// Depth of event delivery through LabApplication::notify.
inline int g_notifyDepth = 0;

} // namespace modal
