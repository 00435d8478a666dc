// The Flamer's factory, its class object and its object.
#include "plFlamer.h"

#include "zorMemLeak.h"
#include "zorQNames.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

// Registry kind of the explosion effect class.
constexpr char kEffectKind[] = "custom";
// The parameter whose change re-binds the effect class.
constexpr char kExplosionParam[] = "flamer_explosion";
// `extra` of every Flamer parameter.
constexpr int32_t kParamExtra = -1;

constexpr int32_t kDefaultSplashRadius = 100;
constexpr int32_t kDefaultSplashDamage = 20;
constexpr float kDefaultImpulse = 200.0f;
constexpr float kDefaultRotImpulse = 50.0f;

// TrackedAlloc for a size_t request: one the allocator cannot express is a
// failure reported like any other.
void* TrackedAllocSized(std::size_t size, const char* file, int line) {
    if (size > UINT_MAX) {
        zorMemLeak_AllocFailed(UINT_MAX, file, line);
        return nullptr;
    }
    return TrackedAlloc(static_cast<unsigned>(size), file, line);
}

}  // namespace

// Defines the tracked storage operators of `Class`.
#define ZOR_DEFINE_TRACKED_STORAGE(Class)                                                       \
    void* Class::operator new(std::size_t size) noexcept {                                      \
        return TrackedAllocSized(size, PLFLAMER_SOURCE_FILE, __LINE__);                         \
    }                                                                                           \
    void* Class::operator new(std::size_t size, const char* file, int line) noexcept {          \
        return TrackedAllocSized(size, file, line);                                             \
    }                                                                                           \
    void* Class::operator new[](std::size_t size) noexcept {                                    \
        return TrackedAllocSized(size, PLFLAMER_SOURCE_FILE, __LINE__);                         \
    }                                                                                           \
    void Class::operator delete(void* block) noexcept { TrackedFree(block); }                   \
    void Class::operator delete(void* block, const char*, int) noexcept { TrackedFree(block); } \
    void Class::operator delete[](void* block) noexcept { TrackedFree(block); }

ZOR_DEFINE_TRACKED_STORAGE(zorPlFlamerClass)
ZOR_DEFINE_TRACKED_STORAGE(zorPlFlamer)

extern "C" zorPlFlamerClass* CreateObjClass() {
    return new (PLFLAMER_SOURCE_FILE, __LINE__) zorPlFlamerClass();
}

// ---- zorPlFlamerClass ----

zorPlFlamerClass::zorPlFlamerClass()
    : explosionName{},
      explosionClass(nullptr),
      splashRadius(kDefaultSplashRadius),
      splashDamage(kDefaultSplashDamage),
      impulse(kDefaultImpulse),
      rotImpulse(kDefaultRotImpulse) {
    RegisterParams();
}

zorPlFlamerClass::zorPlFlamerClass(const zorPlFlamerClass& other)
    : zorPlClassicClass(other),
      explosionClass(other.explosionClass),
      splashRadius(other.splashRadius),
      splashDamage(other.splashDamage),
      impulse(other.impulse),
      rotImpulse(other.rotImpulse) {
    std::memcpy(explosionName, other.explosionName, sizeof explosionName);
}

zorPlFlamerClass& zorPlFlamerClass::operator=(const zorPlFlamerClass& other) {
    zorPlClassicClass::operator=(other);
    std::memmove(explosionName, other.explosionName, sizeof explosionName);
    explosionClass = other.explosionClass;
    splashRadius = other.splashRadius;
    splashDamage = other.splashDamage;
    impulse = other.impulse;
    rotImpulse = other.rotImpulse;
    return *this;
}

// Neither the effect class nor the records are released here: the binding
// ends with the last Release, the records belong to the parameter list.
zorPlFlamerClass::~zorPlFlamerClass() = default;

void zorPlFlamerClass::RegisterParams() {
    AddParamRecord(new (std::nothrow) zorParam("flamer_explosion", explosionName, kParamExtra));
    AddParamRecord(new (std::nothrow) zorParam("flamer_splash_radius", &splashRadius, kParamExtra));
    AddParamRecord(new (std::nothrow) zorParam("flamer_splash_damage", &splashDamage, kParamExtra));
    AddParamRecord(new (std::nothrow) zorParam("flamer_impulse", &impulse, kParamExtra));
    AddParamRecord(new (std::nothrow) zorParam("flamer_rot_impulse", &rotImpulse, kParamExtra));
}

// A record the ordinary heap could not supply is skipped.
void zorPlFlamerClass::AddParamRecord(zorParam* record) {
    if (record != nullptr) AddParam(record);
}

void zorPlFlamerClass::BindExplosionClass() {
    explosionClass = zorQObj_GetClass(explosionName, kEffectKind);
    if (explosionClass != nullptr) explosionClass->AddRef();
}

void zorPlFlamerClass::UnbindExplosionClass() {
    if (explosionClass == nullptr) return;
    explosionClass->Release();
    explosionClass = nullptr;
}

void zorPlFlamerClass::AddRef() {
    zorPlayerClass::AddRef();
    if (refCount > 1 || explosionName[0] == '\0') return;
    // A binding made while unreferenced gives its reference back first.
    UnbindExplosionClass();
    BindExplosionClass();
}

void zorPlFlamerClass::Release() {
    zorPlayerClass::Release();
    if (refCount == 0) UnbindExplosionClass();
}

void zorPlFlamerClass::ParamChanged(zorParam* param) {
    if (param == nullptr || !zorQ_NamesEqual(param->name, kExplosionParam)) return;
    UnbindExplosionClass();
    if (explosionName[0] != '\0') BindExplosionClass();
}

zorObj* zorPlFlamerClass::CreateObj() {
    return new (PLFLAMER_SOURCE_FILE, __LINE__) zorPlFlamer(this);
}

// ---- zorPlFlamer ----

zorPlFlamer::zorPlFlamer(zorObjClass* cls) : zorPlClassic(cls) {}
zorPlFlamer::zorPlFlamer(const zorPlFlamer& other) = default;
zorPlFlamer& zorPlFlamer::operator=(const zorPlFlamer& other) = default;
zorPlFlamer::~zorPlFlamer() = default;

long zorPlFlamer::Create(zorQEntityRef* newEntity, unsigned long flags) {
    const long result = zorPlClassic::Create(newEntity, flags);
    return result < 0 ? result : 0;
}
