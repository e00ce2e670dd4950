#include "app/SkinMessageBox.h"
#include "app/Startup.h"
#include "platform/core/Clipboard.h"
#include "platform/core/MessageBox.h"
#include "platform/core/SleepInhibitor.h"
#include "platform/core/Utf8.h"
#include "platform/media/WaveDriver.h"
#include "platform/core/logind/LogindSleepInhibitor.h"
#include "platform/ui/sdl/SdlClipboard.h"
#include "platform/ui/sdl/SdlDisplay.h"
#include "platform/media/sdl/SdlWaveDriver.h"

#include <memory>
#include <string>

// The command line is one text, as the handheld hands it over: the arguments
// joined by blanks.
int main(int argc, char** argv)
{
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    auto display = std::make_unique<platform::sdl::SdlDisplay>();
    const bool has_video = display->is_available();
    platform::display_slot().install(std::move(display));
    if (has_video) {
        platform::clipboard_slot().install(std::make_unique<platform::sdl::SdlClipboard>());
        platform::message_box_slot().install(std::make_unique<SkinMessageBox>());
    }
    platform::wave_driver_slot().install(std::make_unique<platform::sdl::SdlWaveDriver>());
    platform::sleep_inhibitor_slot().install(std::make_unique<platform::logind::LogindSleepInhibitor>());
    const int exit_code = Startup::run(platform::from_utf8(command_line));
    // The display leaves this thread's message queue, which goes with the
    // thread's own storage before the slots' static destruction: take the
    // backends down while the queue is still there.
    platform::message_box_slot().install(nullptr);
    platform::sleep_inhibitor_slot().install(nullptr);
    platform::wave_driver_slot().install(nullptr);
    platform::clipboard_slot().install(nullptr);
    platform::display_slot().install(nullptr);
    return exit_code;
}
