#include "module.h"

#include "zorQNameHash.h"
#include "zorQObj.h"

#include <dlfcn.h>
#include <filesystem>

namespace flamer_host {
namespace {

constexpr char kFactoryName[] = "CreateObjClass";
constexpr char kLibraryPrefix[] = "lib";

std::string LastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

}  // namespace

std::string ModuleClassName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.rfind(kLibraryPrefix, 0) == 0) name.erase(0, sizeof kLibraryPrefix - 1);
    return name.substr(0, name.find('.'));
}

bool CheckModuleNames(const std::vector<std::string>& paths, std::string& error) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string name = ModuleClassName(paths[i]);
        if (name.empty()) {
            error = "the module " + paths[i] +
                    " gives its class no name (its file name is empty "
                    "after \"lib\" and before the first '.')";
            return false;
        }
        if (name.size() >= kZorModuleNameSize) {
            error = "the module " + paths[i] + " gives its class a name of " +
                    std::to_string(name.size()) + " characters, at most " +
                    std::to_string(kZorModuleNameSize - 1);
            return false;
        }
        for (std::size_t j = 0; j < i; ++j)
            if (zorQNameEqual{}(name, ModuleClassName(paths[j]))) {
                error = "two modules give the class name " + name + ": " + paths[j] + " and " +
                        paths[i];
                return false;
            }
    }
    return true;
}

Module::Module(std::string path, void* handle, Factory factory)
    : path_(std::move(path)),
      className_(ModuleClassName(path_)),
      handle_(handle),
      factory_(factory) {}

std::unique_ptr<Module> Module::Load(const std::string& path, std::string& error) {
    // dlopen searches the library path for a bare file name.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = "cannot load the module " + path + ": " + LastLoaderError();
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(handle, kFactoryName);
    if (symbol == nullptr) {
        error = "the module " + path + " has no " + kFactoryName + ": " + LastLoaderError();
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<Module>(new Module(path, handle, reinterpret_cast<Factory>(symbol)));
}

Module::~Module() { dlclose(handle_); }

zorObjClass* Module::CreateClass() const { return factory_(); }

bool LoadModules(const std::vector<std::string>& paths, Modules& modules, std::string& error) {
    for (const std::string& path : paths) {
        std::unique_ptr<Module> module = Module::Load(path, error);
        if (!module) return false;
        modules.push_back(std::move(module));
    }
    return true;
}

}  // namespace flamer_host
