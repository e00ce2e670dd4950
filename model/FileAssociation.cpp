#include "model/FileAssociation.h"

#include "os/PathMacros.h"
#include "platform/core/FileAssociations.h"

bool read_association(std::u16string_view extension, std::u16string& command, std::u16string& icon)
{
    auto& associations = platform::file_associations();
    std::u16string type;
    if (!associations.read_type(extension, type) || !associations.read_command(type, command))
        return false;
    associations.read_icon(type, icon);
    return true;
}

bool write_association(std::u16string_view extension, std::u16string_view type_name,
    std::u16string_view description, std::u16string_view command, std::u16string_view icon)
{
    auto& associations = platform::file_associations();
    // A type the extension names already is the one to change.
    std::u16string type;
    if (!associations.read_type(extension, type) || type.empty()) {
        type = type_name;
        associations.write_type(extension, type);
    }
    return associations.write_description(type, description)
        && associations.write_command(type, os::expand_path_macros(command))
        && associations.write_icon(type, icon);
}

void apply_association(bool enable, std::u16string_view extension, std::u16string_view type_name,
    std::u16string_view description, std::u16string_view command, std::u16string_view icon,
    std::u16string& saved_command, std::u16string& saved_icon)
{
    if (!enable) {
        if (saved_command.empty())
            return;
        write_association(extension, type_name, description, saved_command, saved_icon);
        saved_command.clear();
        saved_icon.clear();
        return;
    }
    std::u16string current_command, current_icon;
    const bool read = read_association(extension, current_command, current_icon);
    if (read && current_command == command && current_icon == icon)
        return;
    write_association(extension, type_name, description, command, icon);
    saved_command = current_command;
    saved_icon = current_icon;
    if (saved_command.empty())
        saved_command = command;
}
