#include "app/PanelFileExplorer.h"

#include "liba/Path.h"
#include "model/Document.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "skinner/forms/Form.h"
#include "skinner/skin/Properties.h"

PanelFileExplorer::PanelFileExplorer(skinner::Container& container, std::u16string_view name)
    : ControlPanel(container, name)
{
}

void PanelFileExplorer::select_path(const std::u16string& path)
{
    m_selection = path;
    if (Document* document = Document::instance())
        document->set_can_play(!path.empty());
}

std::u16string PanelFileExplorer::get_folder() const
{
    if (!m_selection.empty()) {
        const std::u16string folder = liba::get_parent_directory(m_selection);
        if (!folder.empty())
            return folder;
    }
    return os::expand_path_macros(u"%my_documents%");
}

bool PanelFileExplorer::play_selection()
{
    Document* document = Document::instance();
    if (!document || m_selection.empty())
        return false;
    playlist::Entry entry;
    entry.path = m_selection;
    document->set_play_list(u"", { entry }, 0, false);
    if (document->play_item(0))
        return true;
    os::log() << u"PanelFileExplorer::play_selection failed [" << m_selection << u"]\n";
    const skinner::Properties& store = get_properties();
    std::u16string text = store.translate(u"on_play_failed");
    if (const auto at = text.find(u"%src%"); at != std::u16string::npos)
        text.replace(at, 5, m_selection);
    skinner::Form::message_box(&get_form(), store.translate(u"on_play_failed_caption"), text);
    return false;
}

bool PanelFileExplorer::execute_command(std::u16string_view command)
{
    os::log() << u"PanelFileExplorer::execute_command [" << command << u"] not handled\n";
    return false;
}

bool PanelFileExplorer::on_key(skinner::KeyCode key)
{
    return ControlPanel::on_keydown(key);
}
