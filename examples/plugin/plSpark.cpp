// plSpark: a minimal effect module. Its class object is an effect class (the
// registry's kind "custom"), so any class that names an effect class, a
// Flamer's "flamer_explosion" or a Beacon's "beacon_effect", can name it.
// Each start it gets it hands to the engine's effect class, which tells the
// world, then counts and reports on the engine's console.
#include <cstdio>
#include <d3dx_math.h>
#include <zorQModule.h>
#include <zorQObj.h>
#include <zorQWorld.h>

namespace {

// Source path the module reports to the host's leak tracker.
constexpr char kSourceFile[] = "examples/plugin/plSpark";
// The translation row of a transform.
constexpr int kTranslationRow = 3;

}  // namespace

class ZOR_MODULE_API zorPlSparkClass : public zorCustomClass {
public:
    ZORQMODULE_TRACKED_STORAGE(kSourceFile)

    long SpawnAt(D3DXMATRIX* transform) override {
        const long started = zorCustomClass::SpawnAt(transform);
        if (started < 0) return started;
        ++sparks;
        const float* at = transform->m[kTranslationRow];
        char line[160];
        std::snprintf(line, sizeof line, "plSpark: spark %d at (%g, %g, %g)", sparks,
                      static_cast<double>(at[0]), static_cast<double>(at[1]),
                      static_cast<double>(at[2]));
        zorQWorld_Print(line);
        return started;
    }

    int sparks = 0;
};

extern "C" ZOR_MODULE_API zorObjClass* CreateObjClass() { return new zorPlSparkClass(); }
