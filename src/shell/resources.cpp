#include "shell/resources.h"

#include <QtGlobal>


static void initResources()
{
    Q_INIT_RESOURCE(shell_help);
    Q_INIT_RESOURCE(shell_glyphs);
}

void InitShellResources()
{
    static bool done = false;
    if (!done) {
        done = true;
        initResources();
    }
}
