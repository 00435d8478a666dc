// The event source of a corpse.
#include "zorQText.h"
#include "zorQWorld.h"

namespace {

constexpr float kDefaultLifetime = 30.0f;

bool ValidSelector(int selector) { return selector >= 0 && selector < kZorQEventSelectorCount; }

}  // namespace

zorQEventSource::zorQEventSource()
    : callbacks{},
      callbackCount{},
      model{},
      entity(nullptr),
      parent(nullptr),
      position{},
      flags(0),
      visible(1),
      lifetime(kDefaultLifetime),
      age(0.0f),
      skin(0),
      animation(0),
      alpha(1.0f),
      scale(1.0f) {}

zorQEventSource::zorQEventSource(const zorQEventSource& other) = default;
zorQEventSource& zorQEventSource::operator=(const zorQEventSource& other) = default;
zorQEventSource::~zorQEventSource() = default;

const char* zorQEventSource::GetModel() { return model; }
void zorQEventSource::SetModel(const char* newModel) {
    zorq::CopyTextTruncated(model, sizeof model, newModel);
}
zorQEntityRef* zorQEventSource::GetEntity() { return entity; }
void zorQEventSource::SetEntity(zorQEntityRef* newEntity) { entity = newEntity; }

void zorQEventSource::GetPosition(D3DXVECTOR3* out) {
    if (out != nullptr) *out = position;
}

void zorQEventSource::SetPosition(const D3DXVECTOR3* newPosition) {
    if (newPosition != nullptr) position = *newPosition;
}

unsigned long zorQEventSource::GetFlags() { return flags; }
void zorQEventSource::SetFlags(unsigned long newFlags) { flags = newFlags; }
void zorQEventSource::Show() { visible = 1; }
void zorQEventSource::Hide() { visible = 0; }
int zorQEventSource::IsVisible() { return visible; }
float zorQEventSource::GetLifetime() { return lifetime; }
void zorQEventSource::SetLifetime(float seconds) { lifetime = seconds; }
void zorQEventSource::Update(float seconds) { age += seconds; }
int zorQEventSource::IsExpired() { return age >= lifetime ? 1 : 0; }
int zorQEventSource::GetSkin() { return skin; }
void zorQEventSource::SetSkin(int newSkin) { skin = newSkin; }
int zorQEventSource::GetAnimation() { return animation; }
void zorQEventSource::SetAnimation(int newAnimation) { animation = newAnimation; }
float zorQEventSource::GetAlpha() { return alpha; }
void zorQEventSource::SetAlpha(float newAlpha) { alpha = newAlpha; }
float zorQEventSource::GetScale() { return scale; }
void zorQEventSource::SetScale(float newScale) { scale = newScale; }
void zorQEventSource::Attach(zorQEntityRef* newParent) { parent = newParent; }
void zorQEventSource::Detach() { parent = nullptr; }

void zorQEventSource::ClearEventCallbacks(int selector) {
    if (ValidSelector(selector)) callbackCount[selector] = 0;
}

long zorQEventSource::SetEventCallback(int selector, zorQEventCallback callback,
                                       zorQEntityRef* corpse) {
    if (!ValidSelector(selector) || callback == nullptr) return ZORQEVENT_BAD_SELECTOR;
    if (callbackCount[selector] == kZorQEventCallbacksPerSelector) return ZORQEVENT_FULL;
    callbacks[selector][callbackCount[selector]++] = Registration{callback, corpse};
    return ZORQEVENT_OK;
}

bool zorQEventSource::HasEarlierRegistration(int selector, int index) const {
    const Registration& wanted = callbacks[selector][index];
    for (int s = 0; s <= selector; ++s) {
        const int end = s == selector ? index : callbackCount[s];
        for (int i = 0; i < end; ++i)
            if (callbacks[s][i].callback == wanted.callback &&
                callbacks[s][i].entity == wanted.entity)
                return true;
    }
    return false;
}

int zorQEventSource::RaiseEvent(const char* event) {
    if (event == nullptr) return 0;
    int called = 0;
    for (int selector = 0; selector < kZorQEventSelectorCount; ++selector) {
        // Callbacks registered while the event runs wait for the next one.
        const int count = callbackCount[selector];
        for (int i = 0; i < count; ++i) {
            // One event reaches a callback once for its entity, however many
            // selectors it was registered under.
            if (HasEarlierRegistration(selector, i)) continue;
            const Registration registration = callbacks[selector][i];
            registration.callback(event, registration.entity);
            ++called;
        }
    }
    return called;
}

int zorQEventSource::GetCallbackCount(int selector) {
    return ValidSelector(selector) ? callbackCount[selector] : 0;
}
