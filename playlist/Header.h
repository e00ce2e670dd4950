#pragma once

#include "liba/DateTime.h"

#include <string>

namespace playlist {

// What a playlist holds about itself as a whole.
struct Header {
    liba::DateTime start_time { liba::DateTime::now() };
    std::u16string name { u"new playlist" };
    std::u16string id { u"-1" };
};

}
