#include "support/TestGame.h"

namespace {

// The master controls act on real voices.
const bool kWaveOutput = UseWaveOutput("frontend", true);

}  // namespace
