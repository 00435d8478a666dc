// Modules that break the host's expectations, each in its own way:
//   ODD_MODULE_null_class   its factory makes no class object;
//   ODD_MODULE_no_factory   it exports no CreateObjClass;
//   ODD_MODULE_odd_objects  a classic player class whose objects are not
//                           classic players.
#include "zorQModule.h"
#include "zorQObj.h"

namespace {

class OddObjectsClass : public zorPlClassicClass {
public:
    zorObj* CreateObj() override { return new zorObj(this); }
};

}  // namespace

#if !defined(ODD_MODULE_no_factory)
extern "C" __attribute__((visibility("default"))) zorObjClass* CreateObjClass() {
#if defined(ODD_MODULE_null_class)
    return nullptr;
#else
    return new OddObjectsClass();
#endif
}
#endif
