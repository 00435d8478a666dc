// The class objects of the loaded modules, one per module, as the engine
// keeps them: made by the module's factory, named after the module's file,
// registered with the object registry under the kind their interface tells,
// and owned by the host until it deletes them.
#pragma once

#include "class_catalogue.h"
#include "class_view.h"
#include "module.h"

#include <memory>
#include <string>
#include <vector>

namespace flamer_host {

class LoadedClasses {
public:
    // Makes the class object of every module; false, with the reason in
    // `error`, when a factory makes none or the registry refuses one (those
    // made so far are let go again).
    bool Create(const Modules& modules, std::string& error);
    // Unregisters and deletes the class objects; the modules must still be
    // loaded.
    ~LoadedClasses();

    const std::vector<ClassView>& Views() const { return views_; }
    // What the scenario checker knows of them.
    ClassCatalogue Catalogue() const;
    // The class object of that name (letter case ignored), or null.
    zorObjClass* Find(const std::string& name) const;

    // The host's reference on every class, held while a scenario plays: the
    // first binds what a class names, the last lets it go.
    void AddRefAll();
    void ReleaseAll();

private:
    // Deletes a class object through its virtual destructor, which returns
    // its storage the way its module allocated it.
    struct Deleter {
        void operator()(zorObjClass* cls) const;
    };

    std::vector<std::unique_ptr<zorObjClass, Deleter>> classes_;
    std::vector<ClassView> views_;
};

}  // namespace flamer_host
