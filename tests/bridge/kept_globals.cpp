// The bridge laboratory's globals a test may change, put back after every test.
#include "bridge/kalvernstart.h"
#include "support/globals.h"

namespace {
const testutil::KeptGlobal proctor(kalvern::ProctorMode);
} // namespace
