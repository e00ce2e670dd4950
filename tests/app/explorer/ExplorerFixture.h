#pragma once

#include "app/SettingsSkinStore.h"
#include "app/explorer/PanelFileExplorer.h"
#include "model/Document.h"
#include "os/Application.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"
#include "skinner/core/MessageLoop.h"
#include "skinner/skin/Properties.h"
#include "tests/model/DocumentFixture.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace test {

inline std::string program_path(std::string_view relative)
{
    return std::string(ORVANTA_PROGRAM_DIR) + "/" + std::string(relative);
}

inline std::u16string wide(const std::string& text)
{
    return platform::from_utf8(text);
}

inline std::string narrow(std::u16string_view text)
{
    return platform::to_utf8(text);
}

// What a modal form showed when the script answered it.
struct ModalSeen {
    std::u16string form;
    std::u16string caption;
    std::u16string message;
};

// The file explorer panel on a main-like form of the Default skin, over a
// document whose program folder is a temporary one (the program's skins
// linked into it), browsing a folder of its own.
class ExplorerTest : public ::testing::Test {
protected:
    explicit ExplorerTest(platform::ScreenMode mode = {})
        : screen(platform::display_slot(), mode)
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.file("program"));
        fs::create_directories(dir.file("home"));
        fs::create_directories(dir.file("files"));
        fs::create_directory_symlink(program_path("skins"), dir.file("program/skins"));
        fs::copy_file(program_path("English.lng"), dir.file("program/English.lng"));
        main_skin.load_skin_and_language(wide(program_path("skins/Default/Default.skin")),
            wide(program_path("English.lng")), { mode.size.width, mode.size.height });
        get_settings_skin().load_language(wide(program_path("English.lng")));
    }

    ~ExplorerTest() override
    {
        panel.reset();
        host.reset();
        document.reset();
    }

    std::u16string files() const { return wide(dir.file("files")); }

    std::u16string file(const std::string& name) const { return wide(dir.file("files/" + name)); }

    // A file of the size inside the browsed folder.
    std::string make_file(const std::string& name, std::size_t size = 10, char fill = 'x')
    {
        return dir.write("files/" + name, std::string(size, fill));
    }

    void make_folder(const std::string& name)
    {
        std::filesystem::create_directories(dir.file("files/" + name));
    }

    // The document with the folder as the explorer's, then the panel.
    void open(const std::u16string& folder = {}, bool show_folders = true)
    {
        document = std::make_unique<Document>();
        media = &fake_media();
        Settings settings = document->get_settings();
        settings.explorer_folder = folder.empty() ? files() : folder;
        settings.show_folders = show_folders;
        document->apply_settings(settings);
        host = std::make_unique<skinner::Form>(nullptr, main_skin, u"Main");
        panel = std::make_unique<PanelFileExplorer>(*host, u"PanelFileExplorer");
        panel->set_visible(true);
        host->window().set_foreground();
        run();
    }

    FakeMedia& fake_media()
    {
        auto owned = std::make_unique<FakeMedia>();
        FakeMedia& kept = *owned;
        document->set_media(std::move(owned));
        return kept;
    }

    void run() { screen->run_until_idle(); }

    // Runs the script through the program's own message loop, which turns
    // key presses into the keys and characters that the forms take.
    void run_keys()
    {
        const platform::Window window = host->window().handle();
        screen->call([window] { platform::post_message(window, platform::msg::form_close, 0, 0); });
        skinner::run_message_loop(window);
        run();
    }

    std::vector<std::string> names(const ControlListFiles& list) const
    {
        std::vector<std::string> result;
        for (const FileItem& item : list.items())
            result.push_back(narrow(item.name));
        return result;
    }

    // Selects the rows of these names alone.
    void select(ControlListFiles& list, const std::vector<std::string>& wanted)
    {
        list.unselect_all();
        for (const std::string& name : wanted) {
            bool found = false;
            for (std::int32_t row = 0; row < list.get_item_count(); ++row) {
                if (narrow(list.item(row).name) == name) {
                    list.set_row_selected(row, true);
                    found = true;
                }
            }
            ASSERT_TRUE(found) << name;
        }
    }

    // The next modal form is answered by the button (none: closed by its
    // window), and what it showed is kept.
    void answer_next(std::u16string button = {})
    {
        screen->call([this, button] {
            skinner::Form* form = skinner::Form::current_modal();
            if (!form)
                return;
            const auto text = [form](std::u16string_view id) {
                auto* frame = dynamic_cast<skinner::ControlFrame*>(form->get_control(id));
                return frame ? frame->text() : std::u16string();
            };
            seen.push_back({ form->name(), text(u"frmCaption"), text(u"frmMessage") });
            skinner::Control* control = button.empty() ? nullptr : form->get_control(button);
            if (control)
                form->on_click(*control);
            else
                platform::post_message(form->window().handle(), platform::msg::close, 0, 0);
        });
    }

    std::string settings_file() const { return read_file(dir.file("program/Orvanta.xml")); }

    TempDir dir;
    EnvironmentOverride app { "ORVANTA_APP_PATH", dir.file("program").c_str() };
    EnvironmentOverride home { "HOME", dir.file("home").c_str() };
    EnvironmentOverride config { "XDG_CONFIG_HOME", dir.file("config").c_str() };
    platform::ScopedService<platform::FileAssociations, platform::headless::MemoryFileAssociations>
        associations { platform::file_associations_slot() };
    platform::ScopedService<platform::TimedStart, platform::headless::FakeTimedStart> timed_start {
        platform::timed_start_slot()
    };
    platform::ScopedService<platform::SoundPlayer, platform::headless::SilentSoundPlayer> sounds {
        platform::sound_player_slot()
    };
    os::Application application { u"ExplorerTest" };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(),
        10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen;
    skinner::Properties main_skin;
    std::unique_ptr<Document> document;
    FakeMedia* media = nullptr;
    std::unique_ptr<skinner::Form> host;
    std::unique_ptr<PanelFileExplorer> panel;
    std::vector<ModalSeen> seen;
};

}
