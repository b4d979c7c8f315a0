#pragma once
// The shell's pictures and help topics live in a static library; this makes
// sure they are registered before the first form needs them.
void InitShellResources();
