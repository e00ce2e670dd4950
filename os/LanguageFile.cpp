#include "os/LanguageFile.h"

#include "os/File.h"

namespace os {

bool load_language_file(liba::StringTranslator& translator, const std::u16string& path)
{
    File file(path, File::Mode::read);
    if (!file.is_ok())
        return false;
    translator.load(file, path);
    return true;
}

liba::StringTranslator read_language_file(const std::u16string& path)
{
    liba::StringTranslator translator;
    load_language_file(translator, path);
    return translator;
}

}
