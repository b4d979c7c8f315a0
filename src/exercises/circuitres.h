#pragma once
// The help topics of the two oscillating-circuit works live in a static
// library; this registers them before first use.
void InitCircuitWorkResources();
