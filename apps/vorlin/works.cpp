#include "works.h"

#include "shell/start.h"

void OpenWork(TStartForm* start, int work, int button)
{
    (void)start;
    (void)work;
    (void)button;
}
