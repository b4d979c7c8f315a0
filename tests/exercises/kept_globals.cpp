// The globals of the shell a test may change, put back after every test.
#include "shell/start.h"
#include "support/globals.h"

namespace {
const testutil::KeptGlobal proctor(ProctorMode);
} // namespace
