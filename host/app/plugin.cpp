#include "plugin.h"

#include <dlfcn.h>

namespace flamer_host {
namespace {

constexpr char kFactoryName[] = "CreateObjClass";

std::string LastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

}  // namespace

std::unique_ptr<Plugin> Plugin::Load(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = "cannot load the plug-in " + path + ": " + LastLoaderError();
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(handle, kFactoryName);
    if (symbol == nullptr) {
        error = "the plug-in " + path + " has no " + kFactoryName + ": " + LastLoaderError();
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<Plugin>(new Plugin(handle, reinterpret_cast<Factory>(symbol)));
}

Plugin::~Plugin() { dlclose(handle_); }

zorObjClass* Plugin::CreateClass() const { return factory_(); }

}  // namespace flamer_host
