// Modules, loaded at run time the way the engine loads them: by path, with
// the one factory found by its plain name. Each module's class takes its
// name from the module's file.
#pragma once

#include <memory>
#include <string>
#include <vector>

class zorObjClass;

namespace flamer_host {

class Module {
public:
    // Null, with the reason in `error`, when the file does not load or has
    // no factory. A path is a file's path: one without a folder is taken in
    // the current folder, not searched for as a library.
    static std::unique_ptr<Module> Load(const std::string& path, std::string& error);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const std::string& Path() const { return path_; }
    // The name its class is given: ModuleClassName of its path.
    const std::string& ClassName() const { return className_; }
    // A new class object from the module's factory, or null. The factory is
    // known only as a function returning a class object; the caller owns
    // what it returns.
    zorObjClass* CreateClass() const;

private:
    using Factory = zorObjClass* (*)();
    Module(std::string path, void* handle, Factory factory);

    std::string path_;
    std::string className_;
    void* handle_;
    Factory factory_;
};

using Modules = std::vector<std::unique_ptr<Module>>;

// The class name a module file gives: its file name without a leading "lib"
// and without everything from its first '.' ("libplFlamer.so" gives
// "plFlamer").
std::string ModuleClassName(const std::string& path);

// False, with the reason in `error`, when a path gives no class name, one
// too long for a class object's name field, or the name another path gives
// (letter case ignored, as the registry compares names).
bool CheckModuleNames(const std::vector<std::string>& paths, std::string& error);

// Loads every module, in order; false, with the reason in `error`, at the
// first that does not load.
bool LoadModules(const std::vector<std::string>& paths, Modules& modules, std::string& error);

}  // namespace flamer_host
