// Shared definitions of the host engine interface: symbol visibility and the
// forward declarations every host header needs.
#pragma once

#include <cstdint>

// Every host class and function is exported from the engine library with
// default visibility, so a plug-in built with hidden visibility can still link
// against it. Host classes keep all their members out of line: nothing of the
// host is emitted into (and exported from) a plug-in.
#define ZOR_HOST_API __attribute__((visibility("default")))

// What a plug-in exports: its factory and its classes, whole.
#define ZOR_MODULE_API __attribute__((visibility("default")))

struct zorQEntityRef;
struct zorQMsgDamage;
struct zorQSurfaceInfo;
class zorParam;
class zorModuleClass;
class zorObjClass;
class zorObj;
class zorPlayer;
class zorGun;
class zorActor;
