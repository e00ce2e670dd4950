#include "model/ipc/CommRequest.h"

#include <gtest/gtest.h>

namespace {

constexpr CommField path_flag[] = { CommField::path, CommField::flag };
constexpr CommField path_number_flag[] = { CommField::path, CommField::number, CommField::flag };
constexpr CommField number_flag[] = { CommField::number, CommField::flag };

struct Case {
    const char* name;
    std::span<const CommField> fields;
    std::u16string text;
    bool parses;
    std::u16string path = u"";
    std::int64_t number = 0;
    bool show = false;
};

TEST(CommRequest, FieldsAreParsedOrTheRequestRefused)
{
    const std::u16string path200(200, u'p');
    const Case cases[] = {
        { "path and y", path_flag, u"/m/a.wav,y", true, u"/m/a.wav", 0, true },
        { "path alone", path_flag, u"/m/a.wav", true, u"/m/a.wav" },
        { "other flag", path_flag, u"/m/a.wav,n", true, u"/m/a.wav" },
        { "capital Y", path_flag, u"/m/a.wav,Y", true, u"/m/a.wav" },
        { "empty text", path_number_flag, u"", true },
        { "empty fields", path_number_flag, u",,", true },
        { "all three", path_number_flag, u"/r/x.wav,5,y", true, u"/r/x.wav", 5, true },
        { "leading blanks", path_number_flag, u"/r/x.wav,   7", true, u"/r/x.wav", 7 },
        { "blank number", path_number_flag, u"/r/x.wav, ,y", true, u"/r/x.wav", 0, true },
        { "signed", number_flag, u"-1,y", true, u"", -1, true },
        { "plus", number_flag, u"+1", true, u"", 1 },
        { "trailing comma", number_flag, u"1,y,", true, u"", 1, true },
        { "path of 200", path_flag, path200 + u",y", true, path200, 0, true },
        { "largest", number_flag, u"9223372036854775807", true, u"", INT64_MAX },
        { "smallest", number_flag, u"-9223372036854775808", true, u"", INT64_MIN },
        { "non-ASCII path", path_flag, u"/m/\u00e9t\u00e9 \U0001F3B5.mp3,y", true,
            u"/m/\u00e9t\u00e9 \U0001F3B5.mp3", 0, true },

        { "path of 201", path_flag, path200 + u"q,y", false },
        { "path of 201 at the end", path_flag, path200 + u"q", false },
        { "number of 21", number_flag, u"000000000000000000001", false },
        { "flag of two", path_flag, u"/m/a.wav,yy", false },
        { "flag then more", path_flag, u"/m/a.wav,y,x", false },
        { "a comma in the path", path_flag, u"/m/a,b.wav,y", false },
        { "letters", number_flag, u"five,y", false },
        { "digits then letters", number_flag, u"5x,y", false },
        { "trailing blank", number_flag, u"5 ,y", false },
        { "sign alone", number_flag, u"-,y", false },
        { "fraction", number_flag, u"1.5,y", false },
        { "too large", number_flag, u"9223372036854775808", false },
        { "too small", number_flag, u"-9223372036854775809", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto request = CommRequest::parse(c.text, c.fields);
        ASSERT_EQ(request.has_value(), c.parses);
        if (!request)
            continue;
        EXPECT_EQ(request->path, c.path);
        EXPECT_EQ(request->number, c.number);
        EXPECT_EQ(request->show, c.show);
    }
}

}
