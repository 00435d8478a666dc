// zorPlOrtho: movement, view and control state of an upright player.
#include "zorQObj.h"
#include "zorQWorld.h"
#include "zorWorld.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr float kMaxPushSpeed = 1000.0f;

D3DXVECTOR3 ViewDirection(float yaw, float pitch) {
    const float flat = std::cos(pitch);
    return D3DXVECTOR3{std::sin(yaw) * flat, std::sin(pitch), std::cos(yaw) * flat};
}

float Length(const D3DXVECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

}  // namespace

zorPlOrtho::zorPlOrtho(zorObjClass* cls)
    : zorPlayer(cls),
      velocity{},
      eyeDir(ViewDirection(0.0f, 0.0f)),
      eyePos{},
      yaw(0.0f),
      pitch(0.0f),
      speedFactor(1.0f),
      move(ZORQPLAYER_MOVE_NONE),
      strafe(ZORQPLAYER_STRAFE_NONE),
      turn(ZORQPLAYER_TURN_NONE),
      look(ZORQPLAYER_LOOK_NONE),
      jump(ZORQPLAYER_JUMP_NONE),
      crouching(0),
      running(0),
      surface(0),
      dstate{} {}

zorPlOrtho::zorPlOrtho(const zorPlOrtho& other) = default;
zorPlOrtho& zorPlOrtho::operator=(const zorPlOrtho& other) = default;
zorPlOrtho::~zorPlOrtho() = default;

void zorPlOrtho::PrintDebug() {
    zorPlayer::PrintDebug();
    std::printf("  velocity (%g, %g, %g), yaw %g, pitch %g\n", static_cast<double>(velocity.x),
                static_cast<double>(velocity.y), static_cast<double>(velocity.z),
                static_cast<double>(yaw), static_cast<double>(pitch));
}

void zorPlOrtho::ModVelocity(float factor) { speedFactor = factor; }

void zorPlOrtho::DReset() {
    velocity = D3DXVECTOR3{};
    for (unsigned long& word : dstate) word = 0;
}

void zorPlOrtho::ForcePosition(D3DXVECTOR3* position) {
    zorQWorld_Current()->MoveEntity(entity, position);
}

int zorPlOrtho::DoJump(int) { return 0; }

int zorPlOrtho::TakeDamage(zorQMsgDamage*, unsigned long) { return 0; }

long zorPlOrtho::AxisChanged(D3DXMATRIX*) { return 0; }

void zorPlOrtho::Update() {
    if (entity != nullptr) {
        const D3DXVECTOR3& at = entity->position;
        const D3DXVECTOR3 moved{at.x + velocity.x * speedFactor, at.y + velocity.y * speedFactor,
                                at.z + velocity.z * speedFactor};
        zorQWorld_Current()->MoveEntity(entity, &moved);
    }
    ++dstate[0];
}

void zorPlOrtho::Land(float) { velocity.y = 0.0f; }

zorQEntityRef* zorPlOrtho::PlaceCorpse() { return nullptr; }

void zorPlOrtho::PlayFootstepSound() {}
void zorPlOrtho::ProcessContact(zorQSurfaceInfo*, D3DXVECTOR3*, D3DXVECTOR3*) {}

void zorPlOrtho::SetMove(ZORQPLAYER_MOVE value) { move = value; }

void zorPlOrtho::SetStrafe(ZORQPLAYER_STRAFE value) { strafe = value; }

void zorPlOrtho::SetTurn(ZORQPLAYER_TURN value) { turn = value; }

void zorPlOrtho::SetLook(ZORQPLAYER_LOOK value) { look = value; }

void zorPlOrtho::SetCrouch(int value) { crouching = value; }

void zorPlOrtho::SetRun(int value) { running = value; }

void zorPlOrtho::SetJump(ZORQPLAYER_JUMP value) { jump = value; }

void zorPlOrtho::SetAttack(int, unsigned long) {}

void zorPlOrtho::SetView(float newYaw, float newPitch) {
    yaw = newYaw;
    pitch = newPitch;
    eyeDir = ViewDirection(yaw, pitch);
}

void zorPlOrtho::GetView(D3DXVECTOR3* direction) {
    if (direction != nullptr) *direction = eyeDir;
}

void zorPlOrtho::GetView(float* yawOut, float* pitchOut) {
    if (yawOut != nullptr) *yawOut = yaw;
    if (pitchOut != nullptr) *pitchOut = pitch;
}

D3DXVECTOR3& zorPlOrtho::EyeDir() { return eyeDir; }

D3DXVECTOR3& zorPlOrtho::EyePos() {
    if (entity != nullptr) eyePos = entity->position;
    return eyePos;
}

float zorPlOrtho::ViewYaw() { return yaw; }

unsigned long zorPlOrtho::SurfaceContens() { return surface; }

void zorPlOrtho::Push(D3DXVECTOR3* force, int additive, int capped) {
    if (force == nullptr) return;
    if (additive) {
        velocity.x += force->x;
        velocity.y += force->y;
        velocity.z += force->z;
    } else {
        velocity = *force;
    }
    const float speed = Length(velocity);
    if (capped && speed > kMaxPushSpeed) {
        const float scale = kMaxPushSpeed / speed;
        velocity = D3DXVECTOR3{velocity.x * scale, velocity.y * scale, velocity.z * scale};
    }
}

ZORQPLAYER_MOVE zorPlOrtho::GetMove() { return move; }

unsigned long zorPlOrtho::DGet(unsigned long index) {
    return index < static_cast<unsigned long>(kZorPlOrthoDStateCount) ? dstate[index] : 0;
}
