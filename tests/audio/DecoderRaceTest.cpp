#include "audio/codecs/DecoderMPC.h"
#include "audio/codecs/DecoderVorbis.h"
#include "audio/readers/FileReaderWMA.h"
#include "platform/core/Utf8.h"
#include "tests/audio/ReaderRace.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

TEST(DecoderRace, GuiQueriesWhileThePlayerPulls)
{
    audio::DecoderMPC mpc(platform::from_utf8(test::fixture("musepack/sv7-440hz.mpc")));
    ASSERT_TRUE(mpc.is_open());
    test::pull_while_seeking(mpc, 1000, 4);

    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "ffmpeg missing";
    test::TempDir dir;
    for (const char* name : { "tone.ogg", "tone.wma" }) {
        std::string path = dir.file(name);
        ASSERT_EQ(test::run_tool({ "ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "sine=d=1", "-ac", "2", "-y",
                      path })
                      .exit_code,
            0);
    }
    audio::DecoderVorbis vorbis(platform::from_utf8(dir.file("tone.ogg")));
    ASSERT_TRUE(vorbis.is_open());
    test::pull_while_seeking(vorbis, 1000, 4);
    audio::FileReaderWMA wma(platform::from_utf8(dir.file("tone.wma")));
    ASSERT_TRUE(wma.is_open());
    test::pull_while_seeking(wma, 1000, 4);
}
