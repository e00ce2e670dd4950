#include "audio/FileReaderWAVADPCM.h"
#include "audio/FileReaderWAVPCM.h"
#include "platform/Utf8.h"
#include "tests/audio/ReaderRace.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(FileReaderRace, GuiQueriesWhileThePlayerPulls)
{
    audio::FileReaderWAVPCM pcm(platform::from_utf8(test::fixture("wav/pcm16_mono_list.wav")));
    ASSERT_TRUE(pcm.is_open());
    test::pull_while_seeking(pcm, 100, 2);

    audio::FileReaderWAVADPCM adpcm(platform::from_utf8(test::fixture("wav/adpcm_stereo.wav")));
    ASSERT_TRUE(adpcm.is_open());
    test::pull_while_seeking(adpcm, 2, 1024);
}
