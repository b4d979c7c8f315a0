#include "exercises/circuitres.h"

#include <QtGlobal>

static void initResources()
{
    Q_INIT_RESOURCE(circuitworks);
}

void InitCircuitWorkResources()
{
    static bool done = false;
    if (!done) {
        done = true;
        initResources();
    }
}
