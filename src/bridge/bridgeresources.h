#pragma once
// The bridge program's pictures and help topics live in a static library;
// this registers them before the first form needs them.
void InitBridgeResources();
