#pragma once
// The pictures and help topics of the signal generator and the two signal
// works live in a static library; this registers them before first use.
void InitSignalWorkResources();
