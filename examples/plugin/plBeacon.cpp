// plBeacon: a minimal plug-in. The Beacon is a classic player that, when it
// dies, starts the effect class named by its class parameter "beacon_effect"
// at its body. Everything else it leaves to the host's classic player.
#include <cstddef>
#include <d3dx_math.h>
#include <new>
#include <zorQModule.h>
#include <zorQObj.h>
#include <zorQWorld.h>

namespace {

// Source path the plug-in reports to the host's leak tracker.
constexpr char kSourceFile[] = "examples/plugin/plBeacon";
// Registry kind of effect classes.
constexpr char kEffectKind[] = "custom";
// `extra` of the parameter record.
constexpr int32_t kParamExtra = -1;

}  // namespace

class ZOR_MODULE_API zorPlBeaconClass : public zorPlClassicClass {
public:
    zorPlBeaconClass() : effectName{} {
        if (zorParam* record =
                new (std::nothrow) zorParam("beacon_effect", effectName, kParamExtra))
            AddParam(record);
    }

    ZORQMODULE_TRACKED_STORAGE(kSourceFile)

    zorObj* CreateObj() override;

    // Starts the effect class at `position`, when one of that name is registered.
    void Signal(const D3DXVECTOR3& position) {
        zorObjClass* effect = zorQObj_GetClass(effectName, kEffectKind);
        if (effect == nullptr) return;
        D3DXMATRIX transform;
        D3DXMatrixTranslation(&transform, position.x, position.y, position.z);
        static_cast<zorCustomClass*>(effect)->SpawnAt(&transform);
    }

    char effectName[kZorParamTextSize];
};

class ZOR_MODULE_API zorPlBeacon : public zorPlClassic {
public:
    explicit zorPlBeacon(zorObjClass* cls) : zorPlClassic(cls) {}

    ZORQMODULE_TRACKED_STORAGE(kSourceFile)

    void Kill(int flag) override {
        if (entity != nullptr) static_cast<zorPlBeaconClass*>(objClass)->Signal(entity->position);
        zorPlClassic::Kill(flag);
    }
};

zorObj* zorPlBeaconClass::CreateObj() { return new zorPlBeacon(this); }

extern "C" ZOR_MODULE_API zorObjClass* CreateObjClass() { return new zorPlBeaconClass(); }
