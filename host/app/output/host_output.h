// The host program's output: the report of every happening and, with a
// picture folder, a picture of every explosion and the index that shows
// them. It is where the play hands what happened.
#pragma once

#include "happenings.h"
#include "picture_folder.h"
#include "report.h"

#include <optional>
#include <ostream>
#include <string>

namespace flamer_host {

class HostOutput : public HappeningSink {
public:
    // Pictures go into `pictureDirectory` unless it is empty.
    HostOutput(std::ostream& out, std::ostream& err, std::string pictureDirectory);

    // False when a picture or the index could not be written (said on `err`).
    bool Take(const Happening& happening) override;

private:
    bool Draw(const ExplosionModel& model);
    bool FinishPictures();

    Report report_;
    std::ostream& out_;
    std::ostream& err_;
    std::string pictureDirectory_;
    std::optional<PictureFolder> pictures_;
    std::string source_;
    int commandLine_ = 0;  // the command being played, for messages
};

}  // namespace flamer_host
