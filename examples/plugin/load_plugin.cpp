// Opens a plug-in as a host does: dlopen, CreateObjClass, then only the class
// framework's interfaces. Prints the class object's parameters, creates an
// object and releases everything. Exits with 1 when a step fails.
#include <cstdio>
#include <dlfcn.h>
#include <zorQModule.h>
#include <zorQObj.h>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "load_plugin: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: load_plugin PLUGIN.so");
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return Fail(dlerror());
    using Factory = zorObjClass* (*)();
    const auto factory = reinterpret_cast<Factory>(dlsym(module, "CreateObjClass"));
    if (factory == nullptr) return Fail("the plug-in has no CreateObjClass");

    zorObjClass* cls = factory();
    if (cls == nullptr) return Fail("CreateObjClass made no class object");
    cls->AddRef();
    std::printf("class object with %d parameter(s):\n", cls->paramCount);
    for (int i = 0; i < cls->paramCount; ++i) {
        const zorParam* param = cls->GetParam(i);
        std::printf("  %s (%s)\n", param->name, zorParam_KindName(param->type));
    }
    zorObj* object = cls->CreateObj();
    if (object == nullptr) return Fail("CreateObj made no object");
    std::printf("object created by its class: %s\n", object->GetClass() == cls ? "yes" : "no");
    delete object;
    cls->Release();
    delete cls;
    dlclose(module);
    return 0;
}
