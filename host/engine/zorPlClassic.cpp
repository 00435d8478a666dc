// zorPlClassic: the classic player, with health, armour, weapons, damage,
// death and corpse placement.
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <cstring>

namespace {

// A classic player takes its starting health from a player class object.
int32_t StartingHealth(zorObjClass* cls) {
    constexpr int32_t kFallbackHealth = 100;
    auto* playerClass = dynamic_cast<zorPlayerClass*>(cls);
    return playerClass != nullptr && playerClass->maxHealth > 0 ? playerClass->maxHealth
                                                                : kFallbackHealth;
}

int32_t StartingMaxArmor(zorObjClass* cls) {
    constexpr int32_t kFallbackArmor = 100;
    auto* playerClass = dynamic_cast<zorPlayerClass*>(cls);
    return playerClass != nullptr ? playerClass->maxArmor : kFallbackArmor;
}

void WriteWord(unsigned char** cursor, int32_t value) {
    std::memcpy(*cursor, &value, sizeof value);
    *cursor += sizeof value;
}

int32_t ReadWord(unsigned char** cursor) {
    int32_t value;
    std::memcpy(&value, *cursor, sizeof value);
    *cursor += sizeof value;
    return value;
}

// A death that a message causes waits until the explosion that sent the
// message has finished; a player whose entity belongs to no current world
// dies at once.
void DieOfDamage(zorPlayer& player, zorQEntityRef* entity) {
    zorWorld* world = zorQWorld_Current();
    if (world->Contains(entity))
        world->QueueDeath(entity, kZorPlClassicKillDamage);
    else
        player.Kill(kZorPlClassicKillDamage);
}

// Saved state: health and armour.
constexpr unsigned long kSavedWords = 2;

}  // namespace

zorPlClassic::zorPlClassic(zorObjClass* cls)
    : zorPlOrtho(cls),
      health(0),
      armor(0),
      maxHealth(0),
      maxArmor(0),
      attack(0),
      attackFlags(0),
      gun(nullptr),
      tagGuns{},
      dead(0),
      lastKillFlag(0),
      lean(0.0f),
      roll(0.0f),
      torsoAnim(0),
      legsAnim(0),
      handRaised(0),
      target(nullptr) {
    zorPlClassic::SetInitialValues();
}

zorPlClassic::zorPlClassic(const zorPlClassic& other) = default;
zorPlClassic& zorPlClassic::operator=(const zorPlClassic& other) = default;
zorPlClassic::~zorPlClassic() = default;

void zorPlClassic::LoadData(unsigned char** cursor) {
    if (cursor == nullptr || *cursor == nullptr) return;
    health = ReadWord(cursor);
    armor = ReadWord(cursor);
}

void zorPlClassic::SaveData(unsigned char** cursor) {
    if (cursor == nullptr || *cursor == nullptr) return;
    WriteWord(cursor, health);
    WriteWord(cursor, armor);
}

unsigned long zorPlClassic::GetDataSize() { return kSavedWords * sizeof(int32_t); }

long zorPlClassic::Create(zorQEntityRef* newEntity, unsigned long) {
    if (newEntity == nullptr) return ZORPLCLASSIC_NO_ENTITY;
    if (newEntity->player != nullptr && newEntity->player != this) return ZORPLCLASSIC_ENTITY_TAKEN;
    newEntity->player = this;
    entity = newEntity;
    dead = 0;
    SetInitialValues();
    return static_cast<long>(newEntity->id);
}

void zorPlClassic::Respawn(D3DXVECTOR3& position, float newYaw) {
    zorPlOrtho::Respawn(position, newYaw);
    SetView(newYaw, 0.0f);
    dead = 0;
    SetInitialValues();
}

void zorPlClassic::SetBelli(float newLean, float newRoll) {
    lean = newLean;
    roll = newRoll;
}

long zorPlClassic::PlayerProc(zorQEntityRef*, unsigned char*, unsigned long msg, long param1,
                              unsigned long param2) {
    if (msg == ZORQMSG_DAMAGE) return TakeDamage(reinterpret_cast<zorQMsgDamage*>(param1), param2);
    return ZORQMSG_UNHANDLED;
}

int zorPlClassic::GetHealth() { return health; }

zorGun* zorPlClassic::GetGun() { return gun; }

void zorPlClassic::SetGun(zorGun* newGun) { gun = newGun; }

int zorPlClassic::GetAttack() { return attack; }

void zorPlClassic::Kill(int flag) {
    lastKillFlag = flag;
    if (dead) return;
    health = 0;
    SetDead();
}

int zorPlClassic::DoJump(int strength) {
    if (dead || crouching) return 0;
    velocity.y = static_cast<float>(strength);
    return 1;
}

int zorPlClassic::TakeDamage(zorQMsgDamage* damage, unsigned long) {
    if (damage == nullptr || dead || damage->damage <= 0) return 0;
    const int32_t taken = damage->damage < health ? damage->damage : health;
    health -= taken;
    // Only the hit that takes the last health kills; a player already at zero
    // (its death under way) is not killed again.
    if (taken > 0 && health == 0) DieOfDamage(*this, entity);
    return taken;
}

long zorPlClassic::AxisChanged(D3DXMATRIX*) { return 0; }

void zorPlClassic::Update() {
    if (!dead) zorPlOrtho::Update();
}

void zorPlClassic::Land(float speed) { zorPlOrtho::Land(speed); }

zorQEntityRef* zorPlClassic::PlaceCorpse() {
    if (entity == nullptr) return nullptr;
    return zorQWorld_Current()->CreateCorpse(&entity->position, objClass);
}

void zorPlClassic::PlayFootstepSound() {}
void zorPlClassic::ProcessContact(zorQSurfaceInfo*, D3DXVECTOR3*, D3DXVECTOR3*) {}

void zorPlClassic::SetAttack(int value, unsigned long flags) {
    attack = value;
    attackFlags = flags;
}

int zorPlClassic::SetGunForTag(zorGun* tagGun, int tag) {
    if (tag < 0 || tag >= kZorPlClassicTagCount) return 0;
    tagGuns[tag] = tagGun;
    return 1;
}

void zorPlClassic::SetTorsoAnim(int anim, unsigned long) { torsoAnim = anim; }

void zorPlClassic::SetLegsAnim(int anim, unsigned long) { legsAnim = anim; }

void zorPlClassic::GetMuzzle(D3DXVECTOR3* position, D3DXVECTOR3* direction, D3DXVECTOR3* right,
                             D3DXVECTOR3* up, D3DXVECTOR3* aim, int) {
    const D3DXVECTOR3 zero{};
    if (position != nullptr) *position = EyePos();
    if (direction != nullptr) *direction = eyeDir;
    if (right != nullptr) *right = zero;
    if (up != nullptr) *up = zero;
    if (aim != nullptr) *aim = target != nullptr ? target->position : zero;
}

void zorPlClassic::HandDropped() { handRaised = 0; }

void zorPlClassic::HandRaised() { handRaised = 1; }

void zorPlClassic::GetMuzzleMatrix(D3DXMATRIX& matrix) {
    matrix = D3DXMATRIX{};
    for (int i = 0; i < 4; ++i) matrix.m[i][i] = 1.0f;
    const D3DXVECTOR3& eye = EyePos();
    matrix.m[3][0] = eye.x;
    matrix.m[3][1] = eye.y;
    matrix.m[3][2] = eye.z;
}

void zorPlClassic::PrepareTagFlashes() {}

zorQEntityRef* zorPlClassic::GetTargetEntity() { return target; }

void zorPlClassic::SetGesture() {}

int zorPlClassic::GetArmor() { return armor; }

int zorPlClassic::GetMaxArmor() { return maxArmor; }

int zorPlClassic::GetMaxHealth() { return maxHealth; }

void zorPlClassic::SetInitialValues() {
    maxHealth = StartingHealth(objClass);
    health = maxHealth;
    maxArmor = StartingMaxArmor(objClass);
    armor = 0;
}

void zorPlClassic::SetDead() { dead = 1; }

int zorPlClassic::StandType(zorGun* tagGun) { return tagGun != nullptr ? 1 : 0; }

// Every gun drops and raises the way it stands.
int zorPlClassic::DropType(zorGun* tagGun) { return StandType(tagGun); }

int zorPlClassic::RaiseType(zorGun* tagGun) { return StandType(tagGun); }

void zorPlClassic::FireTag(int) {}

bool zorPlClassic::IsDead() const { return dead != 0; }

int zorPlClassic::LastKillFlag() const { return lastKillFlag; }

zorQEntityRef* zorPlClassic::PlaceCorpseForHost() { return PlaceCorpse(); }
