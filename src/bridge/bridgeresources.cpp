#include "bridge/bridgeresources.h"

#include <QtGlobal>

static void initBridgeQrc()
{
    Q_INIT_RESOURCE(kalvernhelp);
    Q_INIT_RESOURCE(bridgeart);
}

void InitBridgeResources()
{
    static bool done = false;
    if (!done) {
        done = true;
        initBridgeQrc();
    }
}
