// The program's side of the Today item's channel, for the end-to-end tests: a
// document on SDL's wave driver, the nine commands registered as the main
// form registers them, and a message loop with the main form's 0.2 s tick.
// Prints its arguments ("started ..."), then "ready", then what the commands
// ask of the main window ("show", "select <path>", "play"). Ends when its
// standard input closes.
#include "liba/Path.h"
#include "model/Document.h"
#include "model/ipc/CCommandDelegate.h"
#include "model/ipc/Comm.h"
#include "model/ipc/CommCommands.h"
#include "model/ipc/CommWindow.h"
#include "platform/core/FileAssociations.h"
#include "platform/core/MessageQueue.h"
#include "platform/media/SoundPlayer.h"
#include "platform/core/TimedStart.h"
#include "platform/core/Utf8.h"
#include "platform/media/WaveDriver.h"
#include "platform/core/Window.h"
#include "platform/core/headless/FakeTimedStart.h"
#include "platform/core/headless/MemoryFileAssociations.h"
#include "platform/media/headless/SilentSoundPlayer.h"
#include "platform/media/sdl/SdlWaveDriver.h"

#include <string>
#include <thread>
#include <unistd.h>

namespace {

void say(const std::string& line)
{
    const std::string text = line + "\n";
    [[maybe_unused]] auto ignored = write(1, text.data(), text.size());
}

class PeerWindow final : public CommWindow {
public:
    explicit PeerWindow(Document& document)
        : m_document(document)
    {
    }

    void show_window(bool shown) override { say(shown ? "show" : "hide"); }

    void select_path(const std::u16string& path) override
    {
        m_selected = path;
        say("select " + platform::to_utf8(path));
    }

    bool play_selection() override
    {
        say("play");
        playlist::Entry entry;
        entry.path = m_selected;
        m_document.set_play_list(liba::get_directory(m_selected), { entry }, 0, false);
        return m_document.play_item(0);
    }

private:
    Document& m_document;
    std::u16string m_selected;
};

// Ends the loop of the GUI thread when the test closes our standard input.
void quit_on_eof(platform::ThreadId gui)
{
    std::thread([gui] {
        char c;
        while (read(0, &c, 1) > 0) { }
        platform::post_thread_message(gui, platform::msg::quit);
    }).detach();
}

}

int main(int argc, char** argv)
{
    std::string started = "started";
    for (int i = 1; i < argc; ++i)
        started += std::string(" ") + argv[i];
    say(started);

    platform::wave_driver_slot().install(std::make_unique<platform::sdl::SdlWaveDriver>());
    platform::ScopedService<platform::FileAssociations, platform::headless::MemoryFileAssociations> associations {
        platform::file_associations_slot()
    };
    platform::ScopedService<platform::TimedStart, platform::headless::FakeTimedStart> timed_start {
        platform::timed_start_slot()
    };
    platform::ScopedService<platform::SoundPlayer, platform::headless::SilentSoundPlayer> sounds {
        platform::sound_player_slot()
    };

    const platform::ThreadId gui = platform::current_thread_id();
    {
        Document document;
        PeerWindow window(document);
        CommCommands commands(document, window);
        using Delegate = CMethodCommandDelegate<CommCommands>;
        Delegate delegates[] = {
            { commands, &CommCommands::on_comm_play_file },
            { commands, &CommCommands::on_comm_record },
            { commands, &CommCommands::on_comm_record_overwrite },
            { commands, &CommCommands::on_comm_record_append },
            { commands, &CommCommands::on_comm_record_insert },
            { commands, &CommCommands::on_comm_pause },
            { commands, &CommCommands::on_comm_stop },
            { commands, &CommCommands::on_comm_get_status },
            { commands, &CommCommands::on_comm_play_offset },
        };
        comm_init();
        for (std::int32_t id = 0; id < std::int32_t(std::size(delegates)); ++id)
            register_command(id, &delegates[id]);

        platform::register_window_class({ u"CommServerTick",
            [&document](platform::Window window, platform::MessageId message, platform::WParam wparam,
                platform::LParam lparam) -> platform::LResult {
                if (message == platform::msg::timer)
                    document.on_timer();
                return platform::default_window_procedure(window, message, wparam, lparam);
            },
            false });
        const platform::Window ticker = platform::create_window(u"CommServerTick");
        platform::set_timer(ticker, 1, 200);

        quit_on_eof(gui);
        platform::Message m;
        platform::peek_message(m, {}, 0, 0, platform::Peek::keep);
        say("ready");
        while (platform::get_message(m))
            platform::dispatch_message(m);
        for (std::int32_t id = 0; id < std::int32_t(std::size(delegates)); ++id)
            register_command(id, nullptr);
        platform::destroy_window(ticker);
    }
    say("bye");
    return 0;
}
