#include "os/Shell.h"

#include "os/FileInfo.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "platform/core/Launcher.h"

#include <vector>

namespace os {

bool execute_file(std::u16string_view file, std::u16string_view parameters)
{
    std::u16string target = expand_path_macros(file);
    std::u16string arguments = expand_path_macros(parameters);
    log() << u"execute_file(" + target + u", " + arguments + u")\n";
    if (target.empty() || !FileInfo(target).exists())
        return false;
    // A name that looks like an option must not be taken for one.
    if (target[0] == u'-')
        target = u"./" + target;
    std::vector<std::u16string> argv { platform::desktop_opener(), target };
    if (!arguments.empty())
        argv.push_back(arguments);
    return platform::launch(argv);
}

bool open_url(std::u16string_view address)
{
    if (address.empty() || address[0] == u'-')
        return false;
    return platform::open_with_desktop(address);
}

}
