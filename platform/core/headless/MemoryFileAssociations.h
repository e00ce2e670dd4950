#pragma once

#include "platform/core/FileAssociations.h"

#include <map>
#include <optional>

namespace platform::headless {

// Associations held in memory the way the handheld registers them, for
// tests: this program's command is its quoted path followed by %1, its icon
// the path followed by ",-0". Tests set and inspect the tables directly.
class MemoryFileAssociations final : public FileAssociations {
public:
    struct Type {
        std::optional<std::u16string> description;
        std::optional<std::u16string> command;
        std::optional<std::u16string> icon;

        bool operator==(const Type&) const = default;
    };

    bool read_type(std::u16string_view extension, std::u16string& type) override;
    bool write_type(std::u16string_view extension, std::u16string_view type) override;
    bool write_description(std::u16string_view type, std::u16string_view description) override;
    bool read_command(std::u16string_view type, std::u16string& command) override;
    bool write_command(std::u16string_view type, std::u16string_view command) override;
    bool read_icon(std::u16string_view type, std::u16string& icon) override;
    bool write_icon(std::u16string_view type, std::u16string_view icon) override;
    std::u16string own_command() const override;
    std::u16string own_icon() const override;

    std::map<std::u16string, std::u16string, std::less<>> extensions;
    std::map<std::u16string, Type, std::less<>> types;
    int writes { 0 };
};

}
