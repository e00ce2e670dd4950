#pragma once

#include "platform/core/FileAssociations.h"

namespace platform {

// Associations kept the freedesktop way. An extension's type is its MIME
// type; a type's command is its default desktop entry under "[Default
// Applications]" in the user's $XDG_CONFIG_HOME/mimeapps.list, whose other
// lines are left exactly as they were. This program's command is its own
// entry "orvanta.desktop", written into $XDG_DATA_HOME/applications when it
// first takes a type and left alone once it exists. Descriptions and icons
// belong to the shared MIME database and the desktop entries: writing them
// succeeds and stores nothing, and a type reads no icon.
class MimeAppsAssociations final : public FileAssociations {
public:
    bool read_type(std::u16string_view extension, std::u16string& type) override;
    bool write_type(std::u16string_view extension, std::u16string_view type) override;
    bool write_description(std::u16string_view type, std::u16string_view description) override;
    bool read_command(std::u16string_view type, std::u16string& command) override;
    bool write_command(std::u16string_view type, std::u16string_view command) override;
    bool read_icon(std::u16string_view type, std::u16string& icon) override;
    bool write_icon(std::u16string_view type, std::u16string_view icon) override;
    std::u16string own_command() const override;
    std::u16string own_icon() const override;
};

}
