#include "model/Document.h"

#include "tests/model/DocumentFixture.h"

#include <cmath>
#include <gtest/gtest.h>

using test::DocumentTest;
using test::entries;
using test::RecordingView;

namespace {

std::string flags(const Document::Changes& c)
{
    std::string text;
    text += c.general ? 'g' : '-';
    text += c.position ? 'p' : '-';
    text += c.state ? 's' : '-';
    text += c.volume ? 'v' : '-';
    return text;
}

}

TEST_F(DocumentTest, ASecondDocumentIsFatal)
{
    Document first;
    EXPECT_EQ(Document::instance(), &first);
    EXPECT_EXIT({ Document second; }, ::testing::ExitedWithCode(70), "Document is already instantiated");
}

TEST_F(DocumentTest, NotifyMergesThePendingChangesWithTheCallersFlags)
{
    Document document;
    RecordingView view;
    // The constructor leaves every flag pending.
    document.notify();
    ASSERT_EQ(view.seen.size(), 1u);
    EXPECT_EQ(flags(view.seen[0]), "gpsv");

    struct Case {
        const char* name;
        void (*raise)(Document&);
        Document::Changes given;
        std::string expected;
    } cases[] = {
        { "nothing raised, nothing given", [](Document&) {}, {}, "----" },
        { "given flags pass", [](Document&) {}, { true, false, false, true }, "g--v" },
        { "volume setter", [](Document& d) { d.set_volume(0.5); }, {}, "---v" },
        { "state setter and given general", [](Document& d) { d.set_can_play(true); },
            { true, false, true, false }, "g-s-" },
        { "skip raises position even idle", [](Document& d) { d.skip(1); }, {}, "-p--" },
        { "several setters",
            [](Document& d) {
                d.set_vas_enabled(true);
                d.set_volume(1);
                d.seek(0.5);
            },
            {}, "-psv" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.seen.clear();
        c.raise(document);
        document.notify(c.given);
        // Right after, everything has gone out.
        document.notify();
        ASSERT_EQ(view.seen.size(), 2u);
        EXPECT_EQ(flags(view.seen[0]), c.expected);
        EXPECT_EQ(flags(view.seen[1]), "----");
        EXPECT_TRUE(view.seen[0].path.empty());
    }
}

TEST_F(DocumentTest, ChangesRaisedDuringAnUpdateGoOutNextTime)
{
    Document document;
    document.notify();

    struct Raising : Document::View {
        std::vector<std::string> seen;

        void update(const Document::Changes& c) override
        {
            seen.push_back(flags(c));
            if (seen.size() == 1)
                Document::instance()->set_volume(0.3);
        }
    } raising;

    RecordingView later;

    document.set_can_record(true);
    document.notify();
    document.notify();
    EXPECT_EQ(raising.seen, (std::vector<std::string> { "--s-", "---v" }));
    ASSERT_EQ(later.seen.size(), 2u);
    EXPECT_EQ(flags(later.seen[0]), "--s-");
    EXPECT_EQ(flags(later.seen[1]), "---v");
}

TEST_F(DocumentTest, ViewsRegisterWhileTheyLive)
{
    Document document;
    document.notify();
    RecordingView first;
    {
        RecordingView second;
        document.notify();
        EXPECT_EQ(second.seen.size(), 1u);
    }
    document.notify();
    EXPECT_EQ(first.seen.size(), 2u);

    // A view that removes another during a notification: the removed one is not called.
    struct Remover : Document::View {
        Document::View* victim = nullptr;

        void update(const Document::Changes&) override { Document::instance()->remove_view(victim); }
    } remover;

    RecordingView victim;
    remover.victim = &victim;
    document.notify();
    EXPECT_TRUE(victim.seen.empty());
}

TEST_F(DocumentTest, TheActiveEqualizerBandsStandInOrderBetweenTheHeadAndFastPlay)
{
    Document document;
    for (int mask = 0; mask < 8; ++mask) {
        SCOPED_TRACE(mask);
        std::vector<std::string> expected { "null" };
        for (int band = 0; band < 3; ++band) {
            const bool active = mask & (1 << band);
            document.get_settings().equalizer[std::size_t(band)].active = active;
            if (active)
                expected.push_back("eq" + std::to_string(band + 1));
        }
        for (const char* fixed : { "fast", "stretch", "level", "meter", "player" })
            expected.push_back(fixed);
        document.apply_equalizer();
        EXPECT_EQ(document.describe_playback().nodes, expected);
    }
}

TEST_F(DocumentTest, SpeedWithPitchLockPlaysOnlyNormalOrHalfSpeed)
{
    Document document;

    struct Case {
        double speed;
        bool lock;
        double stored, fast;
        int factor;
    } cases[] = {
        { 0.75, true, 0.75, 1.0, 1 },
        { 0.8, true, 1.0, 1.0, 1 },
        { 0.7, true, 0.5, 1.0, 2 },
        { 2.0, true, 1.0, 1.0, 1 },
        { 1.5, false, 1.5, 1.5, 1 },
        { 0.5, false, 0.5, 0.5, 1 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        document.set_speed(c.speed, c.lock);
        EXPECT_EQ(document.get_speed(), c.stored);
        EXPECT_EQ(document.get_settings().pitch_lock, c.lock);
        EXPECT_EQ(document.describe_playback().speed, c.fast);
        EXPECT_EQ(document.describe_playback().stretch_factor, c.factor);
    }
    // Speeds fast play cannot take are refused and change nothing.
    for (double bad : { 0.0, -1.0, std::nan("") }) {
        EXPECT_FALSE(document.set_speed(bad, false));
        EXPECT_EQ(document.get_speed(), 0.5);
    }
}

TEST_F(DocumentTest, LevelIndicesAreStoredAndWrittenAndOutOfRangeIsRefused)
{
    Document document;
    document.set_noise_level(3);
    document.set_limiter_level(1);
    document.set_booster_level(2);
    document.set_booster_level(4);
    document.set_noise_level(-1);
    EXPECT_EQ(document.get_settings().noise, 3);
    EXPECT_EQ(document.get_settings().limiter, 1);
    EXPECT_EQ(document.get_settings().booster, 2);
    Settings saved;
    saved.load(Settings::file_path());
    EXPECT_EQ(saved.noise, 3);
    EXPECT_EQ(saved.limiter, 1);
    EXPECT_EQ(saved.booster, 2);
}

TEST_F(DocumentTest, SettingsAreWrittenOnExitAndReadAtStart)
{
    {
        Document document;
        document.set_volume(0.25);
        document.set_play_mode(PlayMode::PlaylistRepeat);
        document.set_vas_threshold(0.3);
    }
    Document document;
    EXPECT_DOUBLE_EQ(document.get_volume(), 0.25);
    EXPECT_EQ(document.get_play_mode(), PlayMode::PlaylistRepeat);
    EXPECT_DOUBLE_EQ(document.get_vas_threshold(), 0.3);
}

TEST_F(DocumentTest, QueriesAnswerTheIdleValues)
{
    Document document;
    EXPECT_FALSE(document.is_playing());
    EXPECT_FALSE(document.is_recording());
    EXPECT_EQ(document.get_sample_rate(), 0);
    EXPECT_EQ(document.get_bitrate_kbps(), 0);
    EXPECT_EQ(document.get_sample_rate_text(), u"");
    EXPECT_EQ(document.get_bitrate_text(), u"");
    EXPECT_EQ(document.get_codec(), document.get_settings().codec);
    EXPECT_EQ(document.get_current_file(), u"");
    EXPECT_EQ(document.get_remaining_seconds(), 0.0);
    EXPECT_EQ(document.get_position_fraction(), 0.0);
    EXPECT_TRUE(document.is_ok());
    EXPECT_FALSE(document.pause());
    EXPECT_FALSE(document.resume());
    EXPECT_FALSE(document.skip(5));
    EXPECT_FALSE(document.seek(0.5));
    EXPECT_FALSE(document.stop());
    EXPECT_FALSE(document.load_bookmarks());
}

TEST_F(DocumentTest, WhilePlayingTheQueriesReadTheReader)
{
    Document document;
    auto& media = fake_list(document, { u"/music/a.mp3" });
    auto reader = media.readers[u"/music/a.mp3"];
    ASSERT_TRUE(document.play_item(0));
    reader->position = 4000;
    EXPECT_TRUE(document.is_playing());
    EXPECT_EQ(document.get_sample_rate_text(), u"44kHz");
    EXPECT_EQ(document.get_bits_text(), u"16bit");
    EXPECT_EQ(document.get_bitrate_text(), u"128kbps");
    EXPECT_TRUE(document.is_stereo());
    EXPECT_EQ(document.get_codec(), u"PCM");
    EXPECT_EQ(document.get_title(), u"fake /music/a.mp3");
    EXPECT_EQ(document.get_current_file(), u"/music/a.mp3");
    EXPECT_DOUBLE_EQ(document.get_position_seconds(), 4.0);
    EXPECT_DOUBLE_EQ(document.get_position_fraction(), 0.4);
    EXPECT_DOUBLE_EQ(document.get_remaining_seconds(), 6.0);
    EXPECT_EQ(document.get_length(), 10000);
    document.set_can_record(true);
    EXPECT_FALSE(document.can_record());
    reader->position = 12000; // a reader past its stated length
    EXPECT_EQ(document.get_remaining_seconds(), 0.0);
    reader->length = 0;
    EXPECT_EQ(document.get_position_fraction(), 0.0);
}

TEST_F(DocumentTest, SkipAndSeekStayInsideTheItem)
{
    Document document;
    auto& media = fake_list(document, { u"/music/a.wav" });
    auto reader = media.readers[u"/music/a.wav"];
    ASSERT_TRUE(document.play_item(0));
    reader->length = 1000000; // 1000 seconds

    struct Case {
        const char* name;
        std::int64_t from;
        bool (*move)(Document&);
        bool result;
        std::int64_t lands;
    } cases[] = {
        { "back 10 s at 4 s", 4000, [](Document& d) { return d.skip(-10); }, true, 0 },
        { "on 10 s", 4000, [](Document& d) { return d.skip(10); }, true, 14000 },
        { "past the end", 999000, [](Document& d) { return d.skip(30); }, true, 1000000 },
        { "half", 0, [](Document& d) { return d.seek(0.5); }, true, 500000 },
        { "below 0", 7000, [](Document& d) { return d.seek(-0.5); }, true, 0 },
        { "beyond 1", 7000, [](Document& d) { return d.seek(3); }, true, 1000000 },
        { "not a number", 7000, [](Document& d) { return d.seek(std::nan("")); }, false, 7000 },
        { "infinite step", 7000, [](Document& d) { return d.skip(HUGE_VAL); }, false, 7000 },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reader->position = c.from;
        EXPECT_EQ(c.move(document), c.result);
        EXPECT_EQ(reader->position, c.lands);
    }
}

TEST_F(DocumentTest, PlayItemLetsTheModeChooseAnIndexOutsideTheList)
{
    test::FakeMedia* media = nullptr;
    Document document;
    media = &fake_media(document);
    for (const auto* path : { u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" })
        media->add(path);

    struct Case {
        PlayMode mode;
        int current, index;
        std::u16string plays;
    } cases[] = {
        { PlayMode::SingleOnce, 2, -1, u"/m/0.wav" },
        { PlayMode::SingleRepeat, 2, 3, u"/m/0.wav" },
        { PlayMode::PlaylistOnce, 2, -1, u"/m/0.wav" },
        { PlayMode::PlaylistRepeat, 2, -1, u"/m/2.wav" }, // the current entry of the order
        { PlayMode::PlaylistRepeat, 1, 99, u"/m/1.wav" },
    };

    for (const auto& c : cases) {
        document.set_play_mode(c.mode);
        document.set_play_list(u"/m/", entries({ u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" }), c.current, false);
        EXPECT_TRUE(document.play_item(c.index));
        EXPECT_EQ(document.get_current_file(), c.plays);
    }
    // Shuffle: the entry after the current one, in an order drawn the same way.
    PlayOrder::seed(7);
    document.set_play_mode(PlayMode::PlaylistShuffle);
    document.set_play_list(u"/m/", entries({ u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" }), 1, false);
    ASSERT_TRUE(document.play_item(-1));
    PlayOrder::seed(7);
    PlayOrder same;
    same.build(3, 1, PlayMode::PlaylistShuffle);
    EXPECT_EQ(document.get_current_file(),
        u"/m/" + std::u16string(1, char16_t(u'0' + same.entries()[1])) + u".wav");
    EXPECT_NE(document.get_current_file(), u"/m/1.wav");
}

TEST_F(DocumentTest, AnEmptyPlayListOrAnUnreadableFilePlaysNothing)
{
    Document document;
    fake_list(document, { u"/m/good.wav" });
    ASSERT_TRUE(document.play_item(0));
    document.set_play_list(u"/m/", {}, -1, false);
    document.notify();
    EXPECT_FALSE(document.play_item(0));
    EXPECT_EQ(document.get_title(), u"");
    EXPECT_FALSE(document.play_next());
    EXPECT_FALSE(document.play_previous());

    document.stop();
    document.set_play_list(u"/m/", entries({ u"/m/missing.wav" }), 0, false);
    EXPECT_FALSE(document.play_item(0));
    EXPECT_FALSE(document.is_playing());
    // The failed start is reported until the tick moves on.
    EXPECT_FALSE(document.is_ok());
    EXPECT_EQ(document.get_current_file(), u"/m/missing.wav");
    document.on_timer();
    EXPECT_TRUE(document.is_ok());
}

TEST_F(DocumentTest, PlaylistEntriesAreResolvedInTheListsFolderAndTitledByTheList)
{
    Document document;
    auto& media = fake_media(document);
    media.add(u"/lists/songs/a.mp3");
    auto list = entries({ u"songs\\a.mp3" });
    list[0].attributes[u"title"] = u"Song A";
    document.set_play_list(u"/lists/mix.m3u", list, 0, false);
    ASSERT_TRUE(document.play_item(0));
    EXPECT_EQ(document.get_current_file(), u"/lists/songs/a.mp3");
    EXPECT_EQ(document.get_title(), u"Song A");
}

TEST_F(DocumentTest, AnItemThatPlaysItselfIsPausedThroughItsChain)
{
    Document document;
    auto& media = fake_list(document, { u"/m/a.wma" });
    auto reader = media.readers[u"/m/a.wma"];
    ASSERT_TRUE(document.play_item(0));
    EXPECT_EQ(reader->seeks, (std::vector<std::int64_t> { -2 }));
    EXPECT_TRUE(document.pause());
    EXPECT_TRUE(document.is_paused());
    EXPECT_TRUE(document.resume());
    EXPECT_FALSE(document.is_paused());
    EXPECT_EQ(reader->seeks, (std::vector<std::int64_t> { -2, -1, -2 }));
}

// The tick at the end of each item, by mode: which item plays next, or none.
TEST_F(DocumentTest, TheTickMovesOnByThePlayMode)
{
    Document document;
    const std::vector<std::u16string> paths { u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" };
    auto& media = fake_list(document, paths);

    struct Case {
        PlayMode mode;
        int start;
        bool segments_only;
        // The items that play after each end, "-" once stopped.
        std::string then;
    } cases[] = {
        { PlayMode::SingleOnce, 1, false, "-" },
        { PlayMode::SingleRepeat, 1, false, "111" },
        { PlayMode::PlaylistOnce, 0, false, "12-" },
        { PlayMode::PlaylistOnce, 2, false, "-" },
        { PlayMode::PlaylistRepeat, 1, false, "201201" },
        { PlayMode::PlaylistOnce, 0, true, "-" },
        { PlayMode::PlaylistRepeat, 0, true, "-" },
        { PlayMode::SingleRepeat, 0, true, "00" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode) * 10 + c.start);
        document.set_play_mode(c.mode);
        document.set_play_list(u"/m/", entries(paths), c.start, c.segments_only);
        ASSERT_TRUE(document.play_item(c.start));
        std::string played;
        for (std::size_t step = 0; step < c.then.size(); ++step) {
            // Not yet at its end: the tick only reports the position.
            document.on_timer();
            ASSERT_TRUE(document.is_playing());
            media.readers[document.get_current_file()]->end = true;
            document.on_timer();
            if (!document.is_playing()) {
                played += '-';
                break;
            }
            played += char('0' + (document.get_current_file()[3] - u'0'));
        }
        EXPECT_EQ(played, c.then);
        document.stop();
    }
}

TEST_F(DocumentTest, ShuffleWalksFiveRoundsAndWrapsOn)
{
    Document document;
    const std::vector<std::u16string> paths { u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" };
    auto& media = fake_list(document, paths);
    document.set_play_mode(PlayMode::PlaylistShuffle);
    document.set_play_list(u"/m/", entries(paths), 2, false);
    ASSERT_TRUE(document.play_item(2));
    std::map<std::u16string, int> counts { { document.get_current_file(), 1 } };
    for (int i = 0; i < 17; ++i) {
        media.readers[document.get_current_file()]->end = true;
        document.on_timer();
        ASSERT_TRUE(document.is_playing());
        counts[document.get_current_file()]++;
    }
    // 18 items: every file six times, whatever the draw.
    for (const auto& path : paths)
        EXPECT_EQ(counts[path], 6);
}

TEST_F(DocumentTest, TheTickNotifiesPositionWhilePlayingAndTheEndWithState)
{
    Document document;
    auto& media = fake_list(document, { u"/m/a.wav" });
    auto reader = media.readers[u"/m/a.wav"];
    document.notify();
    RecordingView view;
    ASSERT_TRUE(document.play_item(0));
    document.on_timer();
    reader->end = true;
    document.on_timer();
    document.on_timer();
    std::vector<std::string> seen;
    for (const auto& c : view.seen)
        seen.push_back(flags(c));
    // Playing: position; the end: position and state (the stop's state goes
    // with it); stopped: nothing more.
    EXPECT_EQ(seen, (std::vector<std::string> { "-ps-", "-ps-" }));
}

TEST_F(DocumentTest, PreviousAndNextFollowTheOrder)
{
    Document document;
    document.set_play_mode(PlayMode::PlaylistOnce);
    fake_list(document, { u"/m/0.wav", u"/m/1.wav", u"/m/2.wav" });
    EXPECT_FALSE(document.has_next()); // not playing
    ASSERT_TRUE(document.play_item(0));
    EXPECT_TRUE(document.has_next());
    EXPECT_FALSE(document.has_previous());
    // At the start, previous plays the first entry again.
    EXPECT_TRUE(document.play_previous());
    EXPECT_EQ(document.get_current_file(), u"/m/0.wav");
    EXPECT_TRUE(document.play_next());
    EXPECT_TRUE(document.play_next());
    EXPECT_EQ(document.get_current_file(), u"/m/2.wav");
    EXPECT_FALSE(document.has_next());
    EXPECT_TRUE(document.has_previous());
    // Past the end the last entry plays again.
    EXPECT_TRUE(document.play_relative(5));
    EXPECT_EQ(document.get_current_file(), u"/m/2.wav");
}

TEST_F(DocumentTest, StopEndsPlaybackAndForgetsTheItem)
{
    Document document;
    fake_list(document, { u"/m/a.wav" });
    ASSERT_TRUE(document.play_item(0));
    document.notify();
    EXPECT_TRUE(document.stop());
    EXPECT_FALSE(document.is_playing());
    EXPECT_EQ(document.get_current_item().path, u"");
    EXPECT_EQ(document.get_current_file(), u"");
    EXPECT_FALSE(document.stop());
}

TEST_F(DocumentTest, BookmarksAreAddedAtThePlayPositionAndSaved)
{
    Document document;
    auto& media = fake_media(document);
    const std::string file = dir.write("a.wav", "");
    const std::u16string path(file.begin(), file.end());
    auto reader = media.add(path);
    document.set_play_list(u"", entries({ path }), 0, false);
    ASSERT_TRUE(document.play_item(0));
    reader->position = 2500;
    document.add_bookmark();
    EXPECT_EQ(document.get_bookmarks().mark_count(), 1);
    RangeMarkList saved = RangeMarkList::load(path + u".bm");
    ASSERT_EQ(saved.mark_count(), 1);
    EXPECT_EQ(saved.mark(0).position, 2500);
    EXPECT_EQ(saved.mark(0).name, u"Bookmark");
    document.get_bookmarks() = RangeMarkList();
    EXPECT_TRUE(document.load_bookmarks());
    EXPECT_EQ(document.get_bookmarks().mark_count(), 1);
}
