// The Flamer plug-in, loaded at run time the way the engine loads modules:
// by path, with its one factory found by its plain name.
#pragma once

#include <memory>
#include <string>

class zorObjClass;

namespace flamer_host {

class Plugin {
public:
    // Null, with the reason in `error`, when the file does not load or has
    // no factory.
    static std::unique_ptr<Plugin> Load(const std::string& path, std::string& error);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // A new class object from the plug-in's factory, or null. The factory is
    // known only as a function returning a class object.
    zorObjClass* CreateClass() const;

private:
    using Factory = zorObjClass* (*)();
    Plugin(void* handle, Factory factory) : handle_(handle), factory_(factory) {}

    void* handle_;
    Factory factory_;
};

}  // namespace flamer_host
