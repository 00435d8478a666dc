// zorObj and zorPlayer: the object root and the player base.
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <cstdio>

namespace {

char kNoName[] = "";

}  // namespace

// ---- zorObj ----

zorObj::zorObj(zorObjClass* cls) : objClass(cls) {}
zorObj::zorObj(const zorObj& other) = default;
zorObj& zorObj::operator=(const zorObj& other) = default;
zorObj::~zorObj() = default;

char* zorObj::GetName() { return objClass != nullptr ? objClass->GetName() : kNoName; }

zorObjClass* zorObj::GetClass() { return objClass; }

void zorObj::LoadData(unsigned char**) {}
void zorObj::SaveData(unsigned char**) {}

unsigned long zorObj::GetDataSize() { return 0; }

void zorObj::LoadData_2(unsigned char**) {}
void zorObj::SaveData_2(unsigned char**) {}

unsigned long zorObj::GetDataSize_2() { return 0; }

void zorObj::SetTimer(int) {}

long zorObj::Create(zorQEntityRef*, unsigned long) { return 0; }

// ---- zorPlayer ----

zorPlayer::zorPlayer(zorObjClass* cls)
    : zorObj(cls), entity(nullptr), actor(nullptr), timer(0), glowing(0) {}

zorPlayer::zorPlayer(const zorPlayer& other) = default;
zorPlayer& zorPlayer::operator=(const zorPlayer& other) = default;

zorPlayer::~zorPlayer() {
    // The world must not deliver messages to a player that is gone.
    if (entity != nullptr && entity->player == this) entity->player = nullptr;
}

void zorPlayer::SetTimer(int ticks) { timer = ticks; }

void zorPlayer::Respawn(D3DXVECTOR3& position, float) {
    zorQWorld_Current()->MoveEntity(entity, &position);
}

void zorPlayer::SetBelli(float, float) {}

long zorPlayer::PlayerProc(zorQEntityRef*, unsigned char*, unsigned long, long, unsigned long) {
    return ZORQMSG_UNHANDLED;
}

int zorPlayer::GetHealth() { return 0; }

zorGun* zorPlayer::GetGun() { return nullptr; }

void zorPlayer::SetGun(zorGun*) {}

zorActor* zorPlayer::GetActor() { return actor; }

zorQEntityRef* zorPlayer::GetRef() { return entity; }

void zorPlayer::GetPosition(D3DXVECTOR3* position) {
    if (position == nullptr) return;
    *position = entity != nullptr ? entity->position : D3DXVECTOR3{0.0f, 0.0f, 0.0f};
}

int zorPlayer::GetAttack() { return 0; }

void zorPlayer::RenderFlare() { glowing = 1; }

void zorPlayer::PrintDebug() {
    std::printf("%s: entity %u\n", GetName(), entity != nullptr ? entity->id : 0u);
}

int zorPlayer::IsCriticalAllowed() { return 1; }

void zorPlayer::ModVelocity(float) {}
void zorPlayer::Kill(int) {}

void zorPlayer::DestroyGlow() { glowing = 0; }

void zorPlayer::DetachEntity() { entity = nullptr; }
