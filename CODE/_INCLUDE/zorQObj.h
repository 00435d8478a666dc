// The host's class framework, and the object registry as a module uses it.
//
// Class objects: zorModuleClass (a named module with a parameter list and a
// reference count) -> zorObjClass (the interface every class object offers)
// -> zorPlayerClass -> zorPlOrthoClass -> zorPlClassicClass. Objects:
// zorObj -> zorPlayer -> zorPlOrtho -> zorPlClassic. A plug-in derives its
// class object and its objects from these and overrides a few operations; the
// host reaches everything through the operation tables, whose order is fixed
// by the declaration order below (numbers are the table entries).
//
// Every member is defined out of line in the engine library, so a plug-in
// that includes this header emits (and exports) nothing of the host.
#pragma once

#include "d3dx_math.h"
#include "zorQDefs.h"
#include "zorQPlayer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Capacities of the module class's text fields, terminators included.
constexpr std::size_t kZorModuleNameSize = 64;
constexpr std::size_t kZorModuleModuleSize = 64;
constexpr std::size_t kZorModuleFileSize = 256;
constexpr std::size_t kZorPlayerActorSize = 64;
constexpr std::size_t kZorPlClassicSoundSize = 256;
constexpr int kZorPlClassicAnimCount = 16;

class ZOR_HOST_API zorModuleClass {
public:
    zorModuleClass();
    zorModuleClass(const zorModuleClass& other);
    zorModuleClass& operator=(const zorModuleClass& other);
    virtual ~zorModuleClass();  // 1

    virtual void AddParam(zorParam* param);                                          // 2
    virtual void SortParams();                                                       // 3
    virtual void SetModule(char* module);                                            // 4
    virtual char* GetModule();                                                       // 5
    virtual void AddRef();                                                           // 6
    virtual void Release();                                                          // 7
    virtual int GetRefCount();                                                       // 8
    virtual zorParam* GetParam(char* name);                                          // 9
    virtual zorParam* GetParam(int index);                                           // 10
    virtual void PrintParams();                                                      // 11
    virtual long Create();                                                           // 12
    virtual void Setup(char* name, char* module, char* file, zorModuleClass* next);  // 13
    virtual char* GetName();                                                         // 14
    virtual zorModuleClass* GetNext();                                               // 15
    virtual void SetNext(zorModuleClass* next);                                      // 16
    virtual void PrintComments(FILE* out);                                           // 17
    virtual int Save(char* path);                                                    // 18
    virtual int Backup();                                                            // 19
    virtual int backup_file(char* path);                                             // 20

    uint32_t moduleFlags;
    char name[kZorModuleNameSize];
    char module[kZorModuleModuleSize];
    char fileName[kZorModuleFileSize];
    uint32_t version;
    zorParam** params;
    int32_t paramCount;
    uint8_t paramsSorted;
    int32_t refCount;
    zorModuleClass* next;  // host-private: the registry chain
};

class ZOR_HOST_API zorObjClass : public zorModuleClass {
public:
    zorObjClass();
    zorObjClass(const zorObjClass& other);
    zorObjClass& operator=(const zorObjClass& other);
    ~zorObjClass() override;

    virtual zorObj* CreateObj();                 // 21
    virtual int Identify(char* name);            // 22
    virtual void ParamChanged(zorParam* param);  // 23
    virtual void PrintInfo();                    // 24
    virtual void LoadData(unsigned char* data);  // 25
    virtual void SaveData(unsigned char* data);  // 26
    virtual unsigned long GetDataSize();         // 27
    virtual unsigned long GetClassID();          // 28
    virtual void SetClassID(unsigned long id);   // 29

    uint32_t classId;
    uint32_t dataSize;
    uint32_t objectCount;
};

class ZOR_HOST_API zorPlayerClass : public zorObjClass {
public:
    zorPlayerClass();
    zorPlayerClass(const zorPlayerClass& other);
    zorPlayerClass& operator=(const zorPlayerClass& other);
    ~zorPlayerClass() override;

    void AddRef() override;
    void Release() override;

    virtual char* GetActorName();                                       // 30
    virtual void GetActorPrefs(char* actor, int* health, float* mass);  // 31
    virtual float GetMass();                                            // 32
    virtual void LoadEffects();                                         // 33

    char actorName[kZorPlayerActorSize];
    int32_t health;
    int32_t armor;
    int32_t maxHealth;
    int32_t maxArmor;
    uint8_t effectsLoaded;
    float mass;
    float walkSpeed;
    float runSpeed;
    float jumpHeight;
    float turnSpeed;
    float eyeHeight;
};

class ZOR_HOST_API zorPlOrthoClass : public zorPlayerClass {
public:
    zorPlOrthoClass();
    zorPlOrthoClass(const zorPlOrthoClass& other);
    zorPlOrthoClass& operator=(const zorPlOrthoClass& other);
    ~zorPlOrthoClass() override;

    void PrintComments(FILE* out) override;

    float stepHeight;
    float gravity;
    float friction;
};

class ZOR_HOST_API zorPlClassicClass : public zorPlOrthoClass {
public:
    zorPlClassicClass();
    zorPlClassicClass(const zorPlClassicClass& other);
    zorPlClassicClass& operator=(const zorPlClassicClass& other);
    ~zorPlClassicClass() override;

    long Create() override;
    int Identify(char* name) override;

    int32_t attackDamage;
    int32_t attackRange;
    int32_t attackDelay;
    int32_t gunCount;
    uint32_t classicFlags;
    char soundSet[kZorPlClassicSoundSize];
    uint32_t animFrames[kZorPlClassicAnimCount];
};

// An effect class (registry kind "custom"): a class object that can be
// started at a world transform.
class ZOR_HOST_API zorCustomClass : public zorObjClass {
public:
    zorCustomClass();
    zorCustomClass(const zorCustomClass& other);
    zorCustomClass& operator=(const zorCustomClass& other);
    ~zorCustomClass() override;

    virtual float GetLifetime();              // 30
    virtual void SetLifetime(float seconds);  // 31
    // Starts the effect at `transform`; the host copies what it keeps and
    // tells the world of the start. An effect class that overrides it calls
    // this one too, so the engine hears of every start.
    virtual long SpawnAt(D3DXMATRIX* transform);  // 32

    int SpawnCount() const;
    const D3DXMATRIX& LastTransform() const;

private:
    float lifetime;
    int spawnCount;
    D3DXMATRIX lastTransform;
};

// Number of weapon tags a classic player carries.
constexpr int kZorPlClassicTagCount = 4;
// Debug state words a player exposes through DGet.
constexpr int kZorPlOrthoDStateCount = 4;

class ZOR_HOST_API zorObj {
public:
    explicit zorObj(zorObjClass* objClass);
    zorObj(const zorObj& other);
    zorObj& operator=(const zorObj& other);
    virtual ~zorObj();  // 1

    virtual char* GetName();                                          // 2
    virtual zorObjClass* GetClass();                                  // 3
    virtual void LoadData(unsigned char** cursor);                    // 4
    virtual void SaveData(unsigned char** cursor);                    // 5
    virtual unsigned long GetDataSize();                              // 6
    virtual void LoadData_2(unsigned char** cursor);                  // 7
    virtual void SaveData_2(unsigned char** cursor);                  // 8
    virtual unsigned long GetDataSize_2();                            // 9
    virtual void SetTimer(int ticks);                                 // 10
    virtual long Create(zorQEntityRef* entity, unsigned long flags);  // 11

protected:
    zorObjClass* objClass;
};

class ZOR_HOST_API zorPlayer : public zorObj {
public:
    explicit zorPlayer(zorObjClass* objClass);
    zorPlayer(const zorPlayer& other);
    zorPlayer& operator=(const zorPlayer& other);
    ~zorPlayer() override;

    void SetTimer(int ticks) override;

    virtual void Respawn(D3DXVECTOR3& position, float yaw);  // 12
    virtual void SetBelli(float lean, float roll);           // 13
    // Message procedure: the world delivers every message for the player's
    // entity here.
    virtual long PlayerProc(zorQEntityRef* entity, unsigned char* data, unsigned long msg,
                            long param1, unsigned long param2);  // 14
    virtual int GetHealth();                                     // 15
    virtual zorGun* GetGun();                                    // 16
    virtual void SetGun(zorGun* gun);                            // 17
    virtual zorActor* GetActor();                                // 18
    virtual zorQEntityRef* GetRef();                             // 19
    virtual void GetPosition(D3DXVECTOR3* position);             // 20
    virtual int GetAttack();                                     // 21
    virtual void RenderFlare();                                  // 22
    virtual void PrintDebug();                                   // 23
    virtual int IsCriticalAllowed();                             // 24
    virtual void ModVelocity(float factor);                      // 25
    virtual void Kill(int flag);                                 // 26
    virtual void DestroyGlow();                                  // 27

    // Host-side (not in the operation table): forgets the entity, which the
    // world is removing.
    void DetachEntity();

protected:
    zorQEntityRef* entity;
    zorActor* actor;
    int32_t timer;
    int32_t glowing;
};

class ZOR_HOST_API zorPlOrtho : public zorPlayer {
public:
    explicit zorPlOrtho(zorObjClass* objClass);
    zorPlOrtho(const zorPlOrtho& other);
    zorPlOrtho& operator=(const zorPlOrtho& other);
    ~zorPlOrtho() override;

    void PrintDebug() override;
    void ModVelocity(float factor) override;

protected:
    virtual void DReset();                                               // 28
    virtual void ForcePosition(D3DXVECTOR3* position);                   // 29
    virtual int DoJump(int strength);                                    // 30
    virtual int TakeDamage(zorQMsgDamage* damage, unsigned long param);  // 31
    virtual long AxisChanged(D3DXMATRIX* axis);                          // 32
    virtual void Update();                                               // 33
    virtual void Land(float speed);                                      // 34
    virtual zorQEntityRef* PlaceCorpse();                                // 35
    virtual void PlayFootstepSound();                                    // 36
    virtual void ProcessContact(zorQSurfaceInfo* surface, D3DXVECTOR3* point,
                                D3DXVECTOR3* normal);  // 37

public:
    virtual void SetMove(ZORQPLAYER_MOVE move);                       // 38
    virtual void SetStrafe(ZORQPLAYER_STRAFE strafe);                 // 39
    virtual void SetTurn(ZORQPLAYER_TURN turn);                       // 40
    virtual void SetLook(ZORQPLAYER_LOOK look);                       // 41
    virtual void SetCrouch(int crouch);                               // 42
    virtual void SetRun(int run);                                     // 43
    virtual void SetJump(ZORQPLAYER_JUMP jump);                       // 44
    virtual void SetAttack(int attack, unsigned long flags);          // 45
    virtual void SetView(float yaw, float pitch);                     // 46
    virtual void GetView(D3DXVECTOR3* direction);                     // 47
    virtual void GetView(float* yaw, float* pitch);                   // 48
    virtual D3DXVECTOR3& EyeDir();                                    // 49
    virtual D3DXVECTOR3& EyePos();                                    // 50
    virtual float ViewYaw();                                          // 51
    virtual unsigned long SurfaceContens();                           // 52
    virtual void Push(D3DXVECTOR3* force, int additive, int capped);  // 53
    virtual ZORQPLAYER_MOVE GetMove();                                // 54
    virtual unsigned long DGet(unsigned long index);                  // 55

protected:
    D3DXVECTOR3 velocity;
    D3DXVECTOR3 eyeDir;
    D3DXVECTOR3 eyePos;
    float yaw;
    float pitch;
    float speedFactor;
    ZORQPLAYER_MOVE move;
    ZORQPLAYER_STRAFE strafe;
    ZORQPLAYER_TURN turn;
    ZORQPLAYER_LOOK look;
    ZORQPLAYER_JUMP jump;
    int32_t crouching;
    int32_t running;
    unsigned long surface;
    unsigned long dstate[kZorPlOrthoDStateCount];
};

class ZOR_HOST_API zorPlClassic : public zorPlOrtho {
public:
    explicit zorPlClassic(zorObjClass* objClass);
    zorPlClassic(const zorPlClassic& other);
    zorPlClassic& operator=(const zorPlClassic& other);
    ~zorPlClassic() override;

    void LoadData(unsigned char** cursor) override;
    void SaveData(unsigned char** cursor) override;
    unsigned long GetDataSize() override;
    // Takes the entity: a negative result is a failure (ZORPLCLASSIC_NO_ENTITY,
    // ZORPLCLASSIC_ENTITY_TAKEN), otherwise the entity's id.
    long Create(zorQEntityRef* entity, unsigned long flags) override;
    void Respawn(D3DXVECTOR3& position, float yaw) override;
    void SetBelli(float lean, float roll) override;
    long PlayerProc(zorQEntityRef* entity, unsigned char* data, unsigned long msg, long param1,
                    unsigned long param2) override;
    int GetHealth() override;
    zorGun* GetGun() override;
    void SetGun(zorGun* gun) override;
    int GetAttack() override;
    void Kill(int flag) override;

protected:
    int DoJump(int strength) override;
    // Lowers health by the message's damage; at zero the player is killed
    // (Kill(kZorPlClassicKillDamage)). Returns the damage taken.
    int TakeDamage(zorQMsgDamage* damage, unsigned long param) override;
    long AxisChanged(D3DXMATRIX* axis) override;
    void Update() override;
    void Land(float speed) override;
    // Places a corpse entity at the player's position whose data record holds
    // its event source and this player's class object; null without an entity.
    zorQEntityRef* PlaceCorpse() override;
    void PlayFootstepSound() override;
    void ProcessContact(zorQSurfaceInfo* surface, D3DXVECTOR3* point, D3DXVECTOR3* normal) override;

public:
    void SetAttack(int attack, unsigned long flags) override;

    virtual int SetGunForTag(zorGun* gun, int tag);  // 56

protected:
    virtual void SetTorsoAnim(int anim, unsigned long flags);  // 57
    virtual void SetLegsAnim(int anim, unsigned long flags);   // 58
    virtual void GetMuzzle(D3DXVECTOR3* position, D3DXVECTOR3* direction, D3DXVECTOR3* right,
                           D3DXVECTOR3* up, D3DXVECTOR3* target, int tag);  // 59
    virtual void HandDropped();                                             // 60
    virtual void HandRaised();                                              // 61
    virtual void GetMuzzleMatrix(D3DXMATRIX& matrix);                       // 62
    virtual void PrepareTagFlashes();                                       // 63

public:
    virtual zorQEntityRef* GetTargetEntity();  // 64
    virtual void SetGesture();                 // 65
    virtual int GetArmor();                    // 66
    virtual int GetMaxArmor();                 // 67
    virtual int GetMaxHealth();                // 68
    virtual void SetInitialValues();           // 69
    virtual void SetDead();                    // 70
    virtual int StandType(zorGun* gun);        // 71
    virtual int DropType(zorGun* gun);         // 72
    virtual int RaiseType(zorGun* gun);        // 73
    virtual void FireTag(int tag);             // 74

    // Host-side state queries (not in the operation table).
    bool IsDead() const;
    int LastKillFlag() const;
    // The host's way to have the corpse placed, PlaceCorpse being protected:
    // runs the player's own PlaceCorpse.
    zorQEntityRef* PlaceCorpseForHost();

protected:
    int32_t health;
    int32_t armor;
    int32_t maxHealth;
    int32_t maxArmor;
    int32_t attack;
    unsigned long attackFlags;
    zorGun* gun;
    zorGun* tagGuns[kZorPlClassicTagCount];
    int32_t dead;
    int32_t lastKillFlag;
    float lean;
    float roll;
    int32_t torsoAnim;
    int32_t legsAnim;
    int32_t handRaised;
    zorQEntityRef* target;
};

// zorPlClassic::Create failures.
constexpr long ZORPLCLASSIC_NO_ENTITY = -3;
constexpr long ZORPLCLASSIC_ENTITY_TAKEN = -4;
// Kill flag the classic player uses when damage takes its health to zero.
constexpr int kZorPlClassicKillDamage = 1;

// ---------------------------------------------------------------------------
// The object registry: class objects by kind ("player", "custom", ...) and
// name, both compared without regard to case. The host registers the classes;
// a module finds them here.

extern "C" {
// The registered class object of that kind and name, or null. It stays valid
// while the caller holds a reference on it (AddRef).
ZOR_HOST_API zorObjClass* zorQObj_GetClass(const char* name, const char* kind);
}
