#pragma once

#include "skinner/skin/Edition.h"

#include <gtest/gtest.h>

// What the Pocket PC edition does with its touch screen (buttons on the form,
// one bar button per menu item, its bars, its key path) is not what the other
// editions do: their own tests stand for it there.
#define ORVANTA_POCKET_PC_ONLY()                                                                               \
    if constexpr (skinner::is_smartphone)                                                                      \
    GTEST_SKIP() << "the Pocket PC edition's behaviour"

// Bar buttons per menu item and the title bar's OK button: the editions without soft keys.
#define ORVANTA_WITHOUT_SOFT_KEYS()                                                                            \
    if constexpr (skinner::uses_soft_keys)                                                                     \
    GTEST_SKIP() << "the behaviour of the editions without soft keys"

// The Smartphone edition's own behaviour: soft keys, no touch screen.
#define ORVANTA_SMARTPHONE_ONLY()                                                                              \
    if constexpr (!skinner::is_smartphone)                                                                     \
    GTEST_SKIP() << "the Smartphone edition's behaviour"

// The Pocket PC edition with soft keys.
#define ORVANTA_POCKET_PC_SOFT_KEYS_ONLY()                                                                     \
    if constexpr (skinner::is_smartphone || !skinner::uses_soft_keys)                                          \
    GTEST_SKIP() << "the behaviour of the Pocket PC edition with soft keys"
