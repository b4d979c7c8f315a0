// The globals a scope test may change, put back after every test.
#include "scope/tubeview.h"
#include "shell/start.h"
#include "support/globals.h"

namespace {
const testutil::KeptGlobal proctor(ProctorMode);
const testutil::KeptGlobal inputQuery(TTubeViewForm::InputQueryHook);
} // namespace
