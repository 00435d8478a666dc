// The class objects below zorModuleClass: the class-object interface, the
// player classes and the effect class.
#include "zorQNames.h"
#include "zorQObj.h"
#include "zorQText.h"
#include "zorWorld.h"

#include <cstring>

namespace {

constexpr int32_t kDefaultHealth = 100;
constexpr int32_t kDefaultMaxArmor = 100;
constexpr float kDefaultMass = 1.0f;
constexpr float kDefaultWalkSpeed = 160.0f;
constexpr float kDefaultRunSpeed = 320.0f;
constexpr float kDefaultJumpHeight = 48.0f;
constexpr float kDefaultTurnSpeed = 3.0f;
constexpr float kDefaultEyeHeight = 40.0f;
constexpr float kDefaultStepHeight = 18.0f;
constexpr float kDefaultGravity = 800.0f;
constexpr float kDefaultFriction = 6.0f;
constexpr float kDefaultEffectLifetime = 1.0f;

}  // namespace

// ---- zorObjClass ----

zorObjClass::zorObjClass() : classId(0), dataSize(0), objectCount(0) {}
zorObjClass::zorObjClass(const zorObjClass& other) = default;
zorObjClass& zorObjClass::operator=(const zorObjClass& other) = default;
zorObjClass::~zorObjClass() = default;

zorObj* zorObjClass::CreateObj() { return nullptr; }

int zorObjClass::Identify(char* className) { return zorQ_NamesEqual(className, name) ? 1 : 0; }

void zorObjClass::ParamChanged(zorParam*) {}

void zorObjClass::PrintInfo() {
    std::printf("class %s (module %s, id %u, %d parameters, %d references)\n", name, module,
                classId, paramCount, refCount);
}

void zorObjClass::LoadData(unsigned char*) {}
void zorObjClass::SaveData(unsigned char*) {}

unsigned long zorObjClass::GetDataSize() { return dataSize; }

unsigned long zorObjClass::GetClassID() { return classId; }

void zorObjClass::SetClassID(unsigned long id) { classId = static_cast<uint32_t>(id); }

// ---- zorPlayerClass ----

zorPlayerClass::zorPlayerClass()
    : actorName{},
      health(kDefaultHealth),
      armor(0),
      maxHealth(kDefaultHealth),
      maxArmor(kDefaultMaxArmor),
      effectsLoaded(0),
      mass(kDefaultMass),
      walkSpeed(kDefaultWalkSpeed),
      runSpeed(kDefaultRunSpeed),
      jumpHeight(kDefaultJumpHeight),
      turnSpeed(kDefaultTurnSpeed),
      eyeHeight(kDefaultEyeHeight) {}

zorPlayerClass::zorPlayerClass(const zorPlayerClass& other) = default;
zorPlayerClass& zorPlayerClass::operator=(const zorPlayerClass& other) = default;
zorPlayerClass::~zorPlayerClass() = default;

void zorPlayerClass::AddRef() { ++refCount; }

void zorPlayerClass::Release() { --refCount; }

char* zorPlayerClass::GetActorName() { return actorName; }

void zorPlayerClass::GetActorPrefs(char* actor, int* healthOut, float* massOut) {
    if (actor != nullptr) std::memcpy(actor, actorName, sizeof actorName);
    if (healthOut != nullptr) *healthOut = health;
    if (massOut != nullptr) *massOut = mass;
}

float zorPlayerClass::GetMass() { return mass; }

void zorPlayerClass::LoadEffects() { effectsLoaded = 1; }

// ---- zorPlOrthoClass ----

zorPlOrthoClass::zorPlOrthoClass()
    : stepHeight(kDefaultStepHeight), gravity(kDefaultGravity), friction(kDefaultFriction) {}

zorPlOrthoClass::zorPlOrthoClass(const zorPlOrthoClass& other) = default;
zorPlOrthoClass& zorPlOrthoClass::operator=(const zorPlOrthoClass& other) = default;
zorPlOrthoClass::~zorPlOrthoClass() = default;

void zorPlOrthoClass::PrintComments(FILE* out) {
    zorPlayerClass::PrintComments(out);
    if (out != nullptr)
        std::fprintf(out, "# step %g, gravity %g, friction %g\n", static_cast<double>(stepHeight),
                     static_cast<double>(gravity), static_cast<double>(friction));
}

// ---- zorPlClassicClass ----

zorPlClassicClass::zorPlClassicClass()
    : attackDamage(0),
      attackRange(0),
      attackDelay(0),
      gunCount(0),
      classicFlags(0),
      soundSet{},
      animFrames{} {}

zorPlClassicClass::zorPlClassicClass(const zorPlClassicClass& other) = default;
zorPlClassicClass& zorPlClassicClass::operator=(const zorPlClassicClass& other) = default;
zorPlClassicClass::~zorPlClassicClass() = default;

long zorPlClassicClass::Create() { return 0; }

int zorPlClassicClass::Identify(char* className) { return zorObjClass::Identify(className); }

// ---- zorCustomClass ----

zorCustomClass::zorCustomClass()
    : lifetime(kDefaultEffectLifetime), spawnCount(0), lastTransform{} {}
zorCustomClass::zorCustomClass(const zorCustomClass& other) = default;
zorCustomClass& zorCustomClass::operator=(const zorCustomClass& other) = default;
zorCustomClass::~zorCustomClass() = default;

float zorCustomClass::GetLifetime() { return lifetime; }

void zorCustomClass::SetLifetime(float seconds) { lifetime = seconds; }

long zorCustomClass::SpawnAt(D3DXMATRIX* transform) {
    if (transform == nullptr) return -1;
    ++spawnCount;
    lastTransform = *transform;
    zorQWorld_Current()->EffectStarted(this, transform);
    return 0;
}

int zorCustomClass::SpawnCount() const { return spawnCount; }

const D3DXMATRIX& zorCustomClass::LastTransform() const { return lastTransform; }
