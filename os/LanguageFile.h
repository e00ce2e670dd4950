#pragma once

#include "liba/StringTranslator.h"

#include <string>

namespace os {

// Adds the entries of the language file at the path (path macros expanded)
// to the table and keeps its path; a file that cannot be opened changes
// nothing and gives false.
bool load_language_file(liba::StringTranslator& translator, const std::u16string& path);
// A table of the one file; empty, with no path, when it cannot be opened.
liba::StringTranslator read_language_file(const std::u16string& path);

}
