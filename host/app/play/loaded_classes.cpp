#include "loaded_classes.h"

#include "zorObjRegistry.h"
#include "zorQNameHash.h"

#include <filesystem>

namespace flamer_host {

void LoadedClasses::Deleter::operator()(zorObjClass* cls) const {
    zorQObj_UnregisterClass(cls);
    delete cls;
}

bool LoadedClasses::Create(const Modules& modules, std::string& error) {
    for (const std::unique_ptr<Module>& module : modules) {
        std::unique_ptr<zorObjClass, Deleter> cls(module->CreateClass());
        if (!cls) {
            error = "the module " + module->Path() + " made no class object (its " +
                    "CreateObjClass returned null)";
            return false;
        }
        std::string name = module->ClassName();
        std::string moduleName = std::filesystem::path(module->Path()).filename().string();
        std::string noFile;
        cls->Setup(name.data(), moduleName.data(), noFile.data(), nullptr);
        const ClassView view(*cls);
        if (zorQObj_RegisterClass(cls.get(), view.Kind().c_str()) == 0) {
            error = "the registry refused the class " + name + " of the module " + module->Path() +
                    " (a class of kind \"" + view.Kind() + "\" has that name already)";
            return false;
        }
        views_.push_back(view);
        classes_.push_back(std::move(cls));
    }
    return true;
}

LoadedClasses::~LoadedClasses() {
    // The last made goes first.
    while (!classes_.empty()) classes_.pop_back();
}

ClassCatalogue LoadedClasses::Catalogue() const {
    std::vector<ClassInfo> infos;
    for (const ClassView& view : views_)
        infos.push_back(ClassInfo{.name = view.Name(),
                                  .kind = view.Kind(),
                                  .classicPlayer = view.IsClassicPlayer(),
                                  .params = view.ParamInfos()});
    return ClassCatalogue(std::move(infos));
}

zorObjClass* LoadedClasses::Find(const std::string& name) const {
    for (const ClassView& view : views_)
        if (zorQNameEqual{}(view.Name(), name)) return &view.Object();
    return nullptr;
}

void LoadedClasses::AddRefAll() {
    for (const ClassView& view : views_) view.Object().AddRef();
}

void LoadedClasses::ReleaseAll() {
    for (const ClassView& view : views_) view.Object().Release();
}

}  // namespace flamer_host
