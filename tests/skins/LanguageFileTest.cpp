#include "tests/skins/SkinSources.h"

#include "liba/StringTranslator.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace {

constexpr std::u16string_view absent = u"\x1F<absent>";

std::string english_path()
{
    return test::program_folder() + "/English.lng";
}

// The keys of the checked-in list of the program's keys.
std::vector<std::string> program_keys()
{
    std::vector<std::string> keys;
    std::istringstream lines(test::read_file(ORVANTA_LANGUAGE_KEYS));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && !line.starts_with("//"))
            keys.push_back(line);
    }
    return keys;
}

// The translation keys that the default skins' texts name.
std::set<std::string> skin_keys()
{
    std::set<std::string> keys;
    for (const auto& entry : test::default_skins()) {
        auto collect = [&](const skinc::Record& record) {
            for (const auto& property : record.properties) {
                if (property.table == skinner::skin_format::Table::strings
                    && (property.name == u"Text" || property.name == u"CheckedText"))
                    keys.insert(platform::to_utf8(property.text));
            }
        };
        for (const auto& form : entry.skin.forms)
            for (const auto& control : form.controls)
                collect(control);
        for (const auto& kind : entry.skin.kinds)
            collect(kind);
    }
    return keys;
}

TEST(EnglishLanguage, HasEveryKeyOfTheProgramAndTheDefaultSkins)
{
    liba::StringTranslator english;
    ASSERT_TRUE(english.load(platform::from_utf8(english_path())));
    const std::vector<std::string> program = program_keys();
    ASSERT_FALSE(program.empty());
    const std::set<std::string> skins = skin_keys();
    ASSERT_FALSE(skins.empty());
    for (const auto& key : program)
        EXPECT_NE(english.translate(platform::from_utf8(key), absent), absent) << "program key " << key;
    for (const auto& key : skins)
        EXPECT_NE(english.translate(platform::from_utf8(key), absent), absent) << "skin key " << key;
}

// A key alone on its line takes the next line as its text, and a key given
// twice keeps only its last text: either would lose a text without a word.
TEST(EnglishLanguage, EveryLineIsOneKeyWithItsText)
{
    std::istringstream lines(test::read_file(english_path()));
    std::set<std::string> keys;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.empty() || line.starts_with("//"))
            continue;
        const std::size_t end = line.find_first_of(" \t=");
        ASSERT_NE(end, std::string::npos) << "line " << number << " has a key and no text: " << line;
        EXPECT_NE(end, 0u) << "line " << number << " has no key: " << line;
        EXPECT_TRUE(keys.insert(line.substr(0, end)).second) << "line " << number << " repeats the key " << line.substr(0, end);
        for (unsigned char c : line)
            EXPECT_LT(c, 0x80) << "line " << number << " is not ASCII, which the file's 8-bit code page would misread";
    }
}

}
