#pragma once

#include <string>
#include <string_view>

// A file type's handler, through the desktop's associations
// (platform::file_associations). An extension is given without its dot.

// The command and icon of the type the extension names; false unless the
// command could be read. The icon is read when there is one.
bool read_association(std::u16string_view extension, std::u16string& command, std::u16string& icon);

// Makes the command and icon those of the type the extension names,
// registering the type name first when the extension names none; the
// description goes with it. Path macros in the command are expanded.
bool write_association(std::u16string_view extension, std::u16string_view type_name,
    std::u16string_view description, std::u16string_view command, std::u16string_view icon);

// Takes the type over with the given command and icon (enable) or gives it
// back. Taking over keeps what it replaced in saved_command and saved_icon,
// unless the type was this command's already; giving back writes them again
// and empties them. A saved command that is not empty means the type is
// taken; with nothing to keep it holds the given command.
void apply_association(bool enable, std::u16string_view extension, std::u16string_view type_name,
    std::u16string_view description, std::u16string_view command, std::u16string_view icon,
    std::u16string& saved_command, std::u16string& saved_icon);
