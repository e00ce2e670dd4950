#include "platform/core/headless/MemoryFileAssociations.h"

#include "platform/core/Folders.h"

namespace platform::headless {

namespace {

bool read(const std::optional<std::u16string>& value, std::u16string& result)
{
    if (!value)
        return false;
    result = *value;
    return true;
}

}

bool MemoryFileAssociations::read_type(std::u16string_view extension, std::u16string& type)
{
    auto found = extensions.find(extension);
    if (found == extensions.end())
        return false;
    type = found->second;
    return true;
}

bool MemoryFileAssociations::write_type(std::u16string_view extension, std::u16string_view type)
{
    ++writes;
    extensions[std::u16string(extension)] = type;
    return true;
}

bool MemoryFileAssociations::write_description(std::u16string_view type, std::u16string_view description)
{
    ++writes;
    types[std::u16string(type)].description = description;
    return true;
}

bool MemoryFileAssociations::read_command(std::u16string_view type, std::u16string& command)
{
    auto found = types.find(type);
    return found != types.end() && read(found->second.command, command);
}

bool MemoryFileAssociations::write_command(std::u16string_view type, std::u16string_view command)
{
    ++writes;
    types[std::u16string(type)].command = command;
    return true;
}

bool MemoryFileAssociations::read_icon(std::u16string_view type, std::u16string& icon)
{
    auto found = types.find(type);
    return found != types.end() && read(found->second.icon, icon);
}

bool MemoryFileAssociations::write_icon(std::u16string_view type, std::u16string_view icon)
{
    ++writes;
    types[std::u16string(type)].icon = icon;
    return true;
}

std::u16string MemoryFileAssociations::own_command() const
{
    return u"\"" + executable_path() + u"\" %1";
}

std::u16string MemoryFileAssociations::own_icon() const
{
    return executable_path() + u",-0";
}

}
