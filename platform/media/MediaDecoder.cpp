#include "platform/media/MediaDecoder.h"

#include <dlfcn.h>
#include <mutex>
#include <string>
#include <unistd.h>

extern "C" platform::MediaDecoder* orvanta_media_open(platform::MediaSource* source);

namespace platform {

namespace {

using OpenEntry = MediaDecoder* (*)(MediaSource*);

#ifndef ORVANTA_MEDIA_BUILT_IN
// FFmpeg and what it pulls in are most of the libraries the program would
// load: they come with the module, on the first file that needs them, from
// the executable's folder (or, for the build's tests, from where the build
// put the module).
void* load_module()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string candidates[2];
    if (n > 0) {
        const std::string exe(self, static_cast<std::size_t>(n));
        candidates[0] = exe.substr(0, exe.rfind('/') + 1) + "orvanta-media.so";
    }
#ifdef ORVANTA_MEDIA_MODULE_BUILT
    candidates[1] = ORVANTA_MEDIA_MODULE_BUILT;
#endif
    for (const std::string& path : candidates) {
        if (path.empty() || access(path.c_str(), R_OK) != 0)
            continue;
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return nullptr;
}
#endif

OpenEntry open_entry()
{
#ifdef ORVANTA_MEDIA_BUILT_IN
    return &orvanta_media_open;
#else
    static OpenEntry entry = [] {
        // Never unloaded: a decoder may live until the process ends.
        void* module = load_module();
        return module ? reinterpret_cast<OpenEntry>(dlsym(module, "orvanta_media_open")) : nullptr;
    }();
    return entry;
#endif
}

}

std::unique_ptr<MediaDecoder> MediaDecoder::open(MediaSource& source)
{
    OpenEntry entry = open_entry();
    return std::unique_ptr<MediaDecoder>(entry ? entry(&source) : nullptr);
}

}
