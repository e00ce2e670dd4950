#pragma once

#include "platform/ui/Bitmap.h"

#include <gtest/gtest.h>
#include <string>

namespace test {

// Compares what a screen shows with the stored screenshot
// tests/fixtures/screenshots/<name>.png: every channel of every pixel may
// differ by the tolerance. On a mismatch the picture seen is written to
// <name>.actual.png in the working folder. With ORVANTA_UPDATE_SCREENSHOTS=1
// in the environment the stored file is written instead (and the check passes).
::testing::AssertionResult matches_screenshot(
    const platform::Bitmap& shown, const std::string& name, int tolerance = 16);

}
