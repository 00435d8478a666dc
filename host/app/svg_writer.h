// A picture of one explosion seen from above (x to the right, z up): the
// query cube, the sphere of reach, every picked box coloured hit or missed
// with its nearest point to the centre, and the pushes as arrows.
#pragma once

#include "explosion_record.h"

#include <string>

namespace flamer_host {

std::string ExplosionSvg(const Explosion& explosion);

// File name of an explosion's picture inside the picture folder.
std::string ExplosionSvgName(const Explosion& explosion);

// Makes sure pictures can be written into `directory`, creating it if
// missing; false, with the reason in `error`, when they cannot.
bool PrepareSvgDirectory(const std::string& directory, std::string& error);

// Writes the picture into `directory` (created if missing). False, with a
// reason in `error`, when the file cannot be written.
bool WriteExplosionSvg(const std::string& directory, const Explosion& explosion,
                       std::string& error);

}  // namespace flamer_host
