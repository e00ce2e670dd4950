#include "app/explorer/PropertiesForm.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tests/skinner/EditionOnly.h"

#include <filesystem>

namespace {

class PropertiesFormTest : public test::DialogScreen {
protected:
    // A mono 16-bit 8 kHz WAV file of the given sample frames, made by sox.
    std::u16string sox_wav(const std::string& name, int frames)
    {
        const std::string path = dir.file(name);
        const auto made = test::run_tool({ "sox", "-r", "8000", "-n", "-c", "1", "-b", "16", "-e", "signed", path,
            "synth", std::to_string(frames) + "s", "sine", "440" });
        EXPECT_EQ(made.exit_code, 0);
        return platform::from_utf8(path);
    }

    std::u16string size_shown(const std::u16string& path)
    {
        PropertiesForm form(nullptr, settings, u"Properties", path);
        return frame_text(form, u"frmSize");
    }

    test::TempDir dir;
};

TEST_F(PropertiesFormTest, ShowsWhatTheReaderTells)
{
    ORVANTA_POCKET_PC_ONLY();
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox is missing";
    // 1:01:02 of 8 kHz mono; the header's sizes are sox's own.
    const std::u16string path = sox_wav("long take.wav", 8000 * 3662);
    PropertiesForm form(nullptr, settings, u"Properties", path);
    run();
    EXPECT_EQ(frame_text(form, u"frmFileName"), u"long take.wav");
    EXPECT_EQ(frame_text(form, u"frmFormat"), u"PCM");
    EXPECT_EQ(frame_text(form, u"frmDuration"), u"01:01:02");
    EXPECT_EQ(frame_text(form, u"frmChannels"), u"1");
    EXPECT_EQ(frame_text(form, u"frmSampleRate"), u"8000");
    EXPECT_EQ(frame_text(form, u"frmBitRate"), u"128000");
    EXPECT_EQ(frame_text(form, u"frmBits"), u"16");
    EXPECT_EQ(frame_text(form, u"frmSize"), u"55,8M");
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-properties"));
    tap_title_ok();
    form.do_modal();
    EXPECT_FALSE(screen->stalled()) << "OK closes the form";
}

TEST_F(PropertiesFormTest, SizesAsText)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox is missing";
    // 44 header bytes and the samples: 1536 bytes, and one and a half megabytes.
    EXPECT_EQ(size_shown(sox_wav("small.wav", 746)), u"1K");
    EXPECT_EQ(size_shown(sox_wav("middle.wav", 786410)), u"1,5M");
    // Beyond 4 GB the size is not cut to 32 bits (the file is sparse).
    const std::u16string huge = sox_wav("huge.wav", 8000);
    std::filesystem::resize_file(platform::to_utf8(huge), 4831838208ull);
    EXPECT_EQ(size_shown(huge), u"4608,0M");
}

TEST_F(PropertiesFormTest, AFileNoReaderTakesShowsOnlyItsName)
{
    for (const char* contents : { "", "not a sound at all, just some text\n" }) {
        const std::u16string path = platform::from_utf8(dir.write("notes.wav", contents));
        PropertiesForm form(nullptr, settings, u"Properties", path);
        EXPECT_EQ(frame_text(form, u"frmFileName"), u"notes.wav");
        for (const char16_t* id : { u"frmFormat", u"frmDuration", u"frmChannels", u"frmSampleRate", u"frmBitRate",
                 u"frmBits", u"frmSize" })
            EXPECT_EQ(frame_text(form, id), u"") << platform::to_utf8(id);
    }
    PropertiesForm missing(nullptr, settings, u"Properties", platform::from_utf8(dir.file("gone.mp3")));
    EXPECT_EQ(frame_text(missing, u"frmFileName"), u"gone.mp3");
    EXPECT_EQ(frame_text(missing, u"frmSize"), u"");
}

TEST_F(PropertiesFormTest, AnMp3FromLame)
{
    const std::u16string path = platform::from_utf8(test::fixture("mp3/lame_mpeg1_stereo.mp3"));
    PropertiesForm form(nullptr, settings, u"Properties", path);
    EXPECT_EQ(frame_text(form, u"frmChannels"), u"2");
    EXPECT_EQ(frame_text(form, u"frmBits"), u"16");
    EXPECT_EQ(frame_text(form, u"frmSize"), u"11K");
    EXPECT_FALSE(frame_text(form, u"frmFormat").empty());
}

}
