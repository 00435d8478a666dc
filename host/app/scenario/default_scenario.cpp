#include "default_scenario.h"

namespace flamer_host {

std::string_view DefaultScenario() {
    return R"(# The built-in scenario: one Flamer dies with a blast, its corpse is blown
# up by "fireblow" events, and a second Flamer dies of the damage.

# The effect class the blast starts, and the tuning (the defaults, spelt out).
effect fx_boom
set flamer_explosion fx_boom
set flamer_splash_radius 100
set flamer_splash_damage 20
set flamer_impulse 200
set flamer_rot_impulse 50

flamer f1 pos 0 0 0
flamer f2 pos -60 0 0

# Around f1, with the splash radius 100:
entity barrel pos 40 0 30 box -8 -8 -8 8 8 8            # well inside
entity crate  pos 110 0 0 box -10 -10 -10 10 10 10      # nearest face exactly 100 away
entity beacon pos -76 0 76 box -5 -5 -5 5 5 5          # nearest corner 100.4 away
entity wall   pos 0 0 -180 box -150 -50 -90 150 50 90   # far centre, box reaches to 90
entity lamp   pos 85 0 85 box -5 -5 -5 5 5 5            # in the cube's corner, 113 away
entity tower  pos 150 0 40 box -20 -20 -20 20 20 20 health 500   # beside the cube, outside it

# The kill road: a non-zero flag explodes f1 at once; its corpse is then placed.
kill f1 2

# The corpse road: every "fireblow" event blows the corpse up again.
event f1 fireblow
event f1 fireblows         # not the whole word: ignored
move crate 60 0 0
event f1 FireBlow          # letter case does not matter
event f1 fireblow
event f1 fireblow          # f2's fifth hit: it dies, and its own blast follows
)";
}

}  // namespace flamer_host
