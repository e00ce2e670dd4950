#pragma once

#include "platform/core/Service.h"

#include <string>
#include <string_view>

namespace platform {

// The desktop's record of which program opens which files, shaped like the
// handheld's: an extension names a file type, and a type has a description,
// an open command and an icon. What a command or an icon holds is the
// backend's (a command line, a desktop entry); own_command and own_icon are
// this program's. Every operation says whether it worked.
class FileAssociations {
public:
    virtual ~FileAssociations() = default;

    // The type of an extension given without its dot; false when it names none.
    virtual bool read_type(std::u16string_view extension, std::u16string& type) = 0;
    virtual bool write_type(std::u16string_view extension, std::u16string_view type) = 0;
    virtual bool write_description(std::u16string_view type, std::u16string_view description) = 0;
    // What opens files of the type; false when nothing does.
    virtual bool read_command(std::u16string_view type, std::u16string& command) = 0;
    virtual bool write_command(std::u16string_view type, std::u16string_view command) = 0;
    virtual bool read_icon(std::u16string_view type, std::u16string& icon) = 0;
    virtual bool write_icon(std::u16string_view type, std::u16string_view icon) = 0;

    // What makes this program a type's handler; a type it handles reads
    // them back unchanged.
    virtual std::u16string own_command() const = 0;
    virtual std::u16string own_icon() const = 0;
};

// The user's associations; the desktop's (platform/core/posix/MimeAppsAssociations)
// by default.
ServiceSlot<FileAssociations>& file_associations_slot();

inline FileAssociations& file_associations() { return file_associations_slot().get(); }

}
