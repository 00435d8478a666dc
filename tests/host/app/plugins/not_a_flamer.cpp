// A plug-in whose factory makes a class object that is not a Flamer class:
//   NOT_A_FLAMER_effect   an effect class, not a player class at all;
//   NOT_A_FLAMER_params   a classic player class whose "flamer_impulse" is an
//                         integer parameter;
//   NOT_A_FLAMER_objects  a classic player class with the five parameters
//                         whose objects are not classic players.
#include "zorQModule.h"
#include "zorQObj.h"

namespace {

class PlayerClass : public zorPlClassicClass {
public:
    PlayerClass() {
        AddParam(new zorParam("flamer_explosion", explosion, -1));
        AddParam(new zorParam("flamer_splash_radius", &radius, -1));
        AddParam(new zorParam("flamer_splash_damage", &damage, -1));
#if defined(NOT_A_FLAMER_params)
        AddParam(new zorParam("flamer_impulse", &damage, -1));
#else
        AddParam(new zorParam("flamer_impulse", &impulse, -1));
#endif
        AddParam(new zorParam("flamer_rot_impulse", &impulse, -1));
    }
    zorObj* CreateObj() override { return new zorObj(this); }

private:
    char explosion[kZorParamTextSize] = {};
    int32_t radius = 100;
    int32_t damage = 20;
    float impulse = 200.0f;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) zorObjClass* CreateObjClass() {
#if defined(NOT_A_FLAMER_effect)
    return new zorCustomClass();
#else
    return new PlayerClass();
#endif
}
