#include "mp3enc/Encoder.h"
#include "mp3enc/State.h"

#include <gtest/gtest.h>

TEST(Mp3EncSetup, Placeholder)
{
    mp3enc::Params* p = mp3enc::create(44100, 2, 64);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->out_rate, 22050);
    mp3enc::destroy(p);
}
