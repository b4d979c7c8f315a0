#include "exercises/signalres.h"

#include <QtGlobal>

static void initResources()
{
    Q_INIT_RESOURCE(signalworks);
}

void InitSignalWorkResources()
{
    static bool done = false;
    if (!done) {
        done = true;
        initResources();
    }
}
