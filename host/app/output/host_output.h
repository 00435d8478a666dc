// The host program's output: the report of every happening and, with a
// picture folder, a picture of every explosion and the index that shows
// them. It is where the play hands what happened.
#pragma once

#include "happenings.h"
#include "picture_folder.h"
#include "report.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace flamer_host {

// Whether a long run says how far it has come, and after how long: on a
// terminal a person waits for it; a file or a pipe is better without.
struct ProgressLine {
    bool shown = false;
    std::chrono::milliseconds after{1000};
};

class HostOutput : public HappeningSink {
public:
    // Pictures go into `pictureDirectory` unless it is empty. With
    // `progress` shown, a run that lasts longer than its `after` keeps one
    // line on `err` up to date (commands played, explosions, pictures
    // written), and clears it at the end.
    HostOutput(std::ostream& out, std::ostream& err, std::string pictureDirectory,
               ProgressLine progress = {});

    // False when a picture or the index could not be written (said on `err`).
    bool Take(const Happening& happening) override;

private:
    bool Draw(const ExplosionModel& model);
    bool FinishPictures();
    void ShowProgress();
    void ClearProgress();

    Report report_;
    std::ostream& out_;
    std::ostream& err_;
    std::string pictureDirectory_;
    std::optional<PictureFolder> pictures_;
    std::string source_;
    int commandLine_ = 0;  // the command being played, for messages
    ProgressLine progress_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastShown_;
    bool progressShowing_ = false;
    std::size_t commandCount_ = 0;
    std::size_t commandsPlayed_ = 0;
    int explosions_ = 0;
};

}  // namespace flamer_host
