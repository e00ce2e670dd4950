#include "app/settings/SettingsRecording.h"
#include "audio/chains/ChainFactory.h"
#include "audio/chains/RecordChain.h"
#include "audio/codecs/Encoder.h"
#include "audio/writers/FileWriter.h"
#include "tests/app/settings/SettingsScreen.h"
#include "tests/support/Tool.h"

#include <cmath>

namespace {

using test::SettingsScreen;

// A second of a 440 Hz tone in the row's sample size and rate, in blocks.
std::vector<audio::PCMData> tone(std::uint32_t bits, std::uint32_t rate)
{
    std::vector<audio::PCMData> blocks;
    const std::uint32_t frames = rate / 10;
    for (int block = 0; block < 10; ++block) {
        std::vector<std::uint8_t> bytes;
        for (std::uint32_t i = 0; i < frames; ++i) {
            const double value = 0.4 * std::sin((block * frames + i) * 2 * M_PI * 440 / rate);
            if (bits == 8) {
                bytes.push_back(std::uint8_t(128 + std::lround(value * 127)));
            } else {
                const auto sample = std::int16_t(std::lround(value * 32767));
                bytes.push_back(std::uint8_t(sample & 0xFF));
                bytes.push_back(std::uint8_t((sample >> 8) & 0xFF));
            }
        }
        blocks.emplace_back(liba::SharedBuffer(bytes.size(), bytes.data()), 1, int(bits), int(rate));
    }
    return blocks;
}

std::string ffprobe_codec(const std::u16string& codec, std::uint32_t bits)
{
    if (codec == u"GSM")
        return "gsm_ms";
    if (codec == u"ADPCM")
        return "adpcm_ms";
    if (codec == u"mp3")
        return "mp3";
    return bits == 8 ? "pcm_u8" : "pcm_s16le";
}

TEST(RecordingFormats, EveryRowRecordsThroughTheChainFactoryInItsOwnFormat)
{
    const auto formats = SettingsRecording::formats();
    ASSERT_EQ(formats.size(), 15u);
    const bool probe = test::have_tool("ffprobe");
    test::TempDir dir;
    for (std::size_t row = 0; row < formats.size(); ++row) {
        const SettingsRecording::Format& format = formats[row];
        SCOPED_TRACE(platform::to_utf8(format.text));
        EXPECT_EQ(format.channels, 1u);
        const std::string path = dir.file("row" + std::to_string(row) + (format.codec == u"mp3" ? ".mp3" : ".wav"));
        {
            auto chain = audio::create_record_chain(platform::from_utf8(path), format.codec,
                std::int32_t(format.channels), std::int32_t(format.bits), std::int32_t(format.samples),
                std::int32_t(format.bitrate), false);
            ASSERT_NE(chain, nullptr);
            EXPECT_EQ(chain->get_format_name(), format.codec);
            if (format.codec == u"mp3") {
                ASSERT_NE(chain->get_encoder(), nullptr);
                EXPECT_EQ(std::uint32_t(chain->get_encoder()->get_bitrate()), format.bitrate);
            }
            for (const audio::PCMData& block : tone(format.bits, format.samples))
                chain->get_input()->on_data(block);
            EXPECT_TRUE(chain->get_writer()->is_ok());
        }
        if (probe) {
            const test::ToolResult probed = test::run_tool({ "ffprobe", "-v", "error", "-select_streams", "a:0",
                "-show_entries", "stream=codec_name,sample_rate,channels", "-of", "csv=p=0", path });
            EXPECT_EQ(probed.out,
                ffprobe_codec(format.codec, format.bits) + "," + std::to_string(format.samples) + ",1\n");
        }
    }
}

class RecordingPage : public SettingsScreen {
protected:
    SettingsRecording::FormatCombo& formats(SettingsForm& form)
    {
        return control<SettingsRecording::FormatCombo>(form, recording, u"cbFormats");
    }
};

TEST_F(RecordingPage, TheRecordsFormatChoosesItsRowAndAnUnknownOneFallsBackToRow4)
{
    struct Case {
        const char* name;
        std::u16string codec;
        int bits, samples, bitrate;
        std::int32_t row;
    } cases[] = {
        { "GSM", u"GSM", 16, 8000, 13000, 0 },
        { "ADPCM 22 kHz", u"ADPCM", 16, 22050, 88000, 8 },
        { "ADPCM stored as 4 bits", u"ADPCM", 4, 22050, 88000, 4 },
        { "8-bit wav", u"PCM", 8, 11025, 88000, 10 },
        { "48 kHz is not in the table", u"PCM", 16, 48000, 768000, 4 },
        { "codec names compare with case", u"MP3", 16, 44100, 96000, 4 },
        { "the bitrate counts", u"mp3", 16, 44100, 128000, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.codec = c.codec;
        settings.bits = c.bits;
        settings.samples = c.samples;
        settings.bitrate = c.bitrate;
        SettingsForm form(nullptr, settings_skin, settings);
        EXPECT_EQ(formats(form).get_current(), c.row);
        EXPECT_EQ(formats(form).face().text(), SettingsRecording::formats()[std::size_t(c.row)].text);
        EXPECT_EQ(settings.samples, c.samples) << "nothing changes before the form closes";
        close(form);
        const SettingsRecording::Format& chosen = SettingsRecording::formats()[std::size_t(c.row)];
        EXPECT_EQ(settings.codec, chosen.codec);
        EXPECT_EQ(settings.channels, 1);
        EXPECT_EQ(settings.bits, int(chosen.bits));
        EXPECT_EQ(settings.samples, int(chosen.samples));
        EXPECT_EQ(settings.bitrate, int(chosen.bitrate));
    }
}

TEST_F(RecordingPage, FieldsComeFromTheRecordAndGoBackWhenTheFormCloses)
{
    settings.prefix = u"Talk";
    settings.folder = u"/media/card/never chosen";
    settings.default_folder = true;
    settings.date_folder = true;
    settings.include_date = false;
    settings.record_turn_off = 3; // not a choice: the next longer one is shown
    SettingsForm form(nullptr, settings_skin, settings);
    EXPECT_EQ(control<skinner::ControlEdit>(form, recording, u"editPrefix").get_text(), u"Talk");
    EXPECT_EQ(control<ControlComboBoxTurnOff>(form, recording, u"cbTurnOff").selected_seconds(), 5);

    // Another name, another format and the date in it; the folder is left alone.
    control<skinner::ControlEdit>(form, recording, u"editPrefix").set_text(u"Lecture");
    formats(form).set_current(13);
    control<skinner::ControlCheckBox>(form, recording, u"chkIncludeDate").set_checked(true);
    EXPECT_EQ(settings.samples, 22050);
    EXPECT_FALSE(settings.include_date);
    EXPECT_EQ(settings.prefix, u"Talk");
    close(form);
    EXPECT_EQ(settings.prefix, u"Lecture");
    EXPECT_EQ(settings.folder, u"/media/card/never chosen");
    EXPECT_TRUE(settings.default_folder);
    EXPECT_TRUE(settings.date_folder);
    EXPECT_TRUE(settings.include_date);
    EXPECT_EQ(settings.codec, u"PCM");
    EXPECT_EQ(settings.bits, 16);
    EXPECT_EQ(settings.samples, 22050);
    EXPECT_EQ(settings.bitrate, 344000);
    EXPECT_EQ(settings.record_turn_off, 5);
}

TEST_F(RecordingPage, TheFolderChoicesFollowRecordIntoThisFolder)
{
    settings.default_folder = true;
    settings.date_folder = true;
    settings.folder = u"/home/me/talks";
    SettingsForm form(nullptr, settings_skin, settings);
    run();
    auto& own_folder = control<skinner::ControlCheckBox>(form, recording, u"chkDefaultDir");
    auto& folder = control<skinner::Control>(form, recording, u"cbDirectory");
    auto& date_folder = control<skinner::ControlCheckBox>(form, recording, u"chkCreateDateFolder");
    EXPECT_TRUE(folder.own_enabled());
    EXPECT_TRUE(date_folder.own_enabled());

    // A tap on the check box, as the user does it.
    const skinner::Point at { own_folder.position().x + 8, own_folder.position().y + own_folder.size().height / 2 };
    screen->tap(platform::client_to_screen(form.window().handle(), { at.x, at.y }));
    run();
    EXPECT_FALSE(own_folder.is_checked());
    EXPECT_FALSE(folder.own_enabled());
    EXPECT_FALSE(date_folder.own_enabled());

    close(form);
    EXPECT_FALSE(settings.default_folder);
    EXPECT_TRUE(settings.date_folder) << "a disabled choice keeps its value";
    EXPECT_EQ(settings.folder, u"/home/me/talks");
}

}
